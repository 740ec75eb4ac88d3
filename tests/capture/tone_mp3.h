#pragma once

#include <cstdint>
#include <string>
#include <vector>

// 44100 Hz stereo PCM: silence, then from onsetSample on a sine of the given
// frequency and peak (0..1) until the end.
std::vector<int16_t> ToneAfterSilence(int64_t totalSamples, int64_t onsetSample, double frequency,
                                      double peak);

// The PCM as an MP3 file (libmp3lame, 192 kbps, with the LAME tag so that a
// gapless decoder restores the exact length). False when it cannot be written.
bool WriteMp3(const std::string &path, const std::vector<int16_t> &stereo);
