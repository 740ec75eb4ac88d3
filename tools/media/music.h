#pragma once

#include <vector>

// The soundtrack as rendered by the sequencer: 44.1 kHz stereo floats.
struct Soundtrack {
    std::vector<float> left, right;
};

// Seconds of music; a short tail of reverb follows.
constexpr double kMusicSeconds = 225.0;
constexpr double kTrackSeconds = 226.0;

// Composes and renders the whole soundtrack, peaks scaled to `peak`.
Soundtrack ComposeSoundtrack(float peak);
