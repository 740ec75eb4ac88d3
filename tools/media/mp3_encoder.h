#pragma once

#include "music.h"

#include <cstdint>
#include <vector>

// Encodes the soundtrack as constant 192 kbit/s joint-stereo MP3 with the LAME
// tag in the first frame (so decoders drop the padding and restore the exact
// length). quality is LAME's 0 (best, slowest) .. 9. Empty on failure.
std::vector<uint8_t> EncodeMp3(const Soundtrack &track, int quality);
