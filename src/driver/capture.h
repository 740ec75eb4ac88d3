#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CaptureRequest {
    std::string path;
    int width = 800; // the video's size; the picture is scaled into it
    int height = 600;
    int64_t fpsNumerator = 60;
    int64_t fpsDenominator = 1;
    double durationSeconds = 0.0; // 0: the whole presentation
    // Rendering takes most of both cores; the fastest preset leaves it the
    // most and keeps a full capture within the presentation's own time.
    std::string x264Preset = "ultrafast";
};

// Frames of a capture of the given length: every pass whose time lies before
// it. Without a length, every pass of the presentation.
int64_t CaptureFrameCount(double durationSeconds, int64_t fpsNumerator, int64_t fpsDenominator);

// Renders the presentation offscreen at the fixed frame rate into an MP4
// video with the soundtrack; progress on standard error, the file's path on
// standard output. Returns the process exit status: 0 when complete, 1 on
// an error (no file is left), 128 + the signal when interrupted (the file
// holds every frame rendered until then).
int RunCapture(const CaptureRequest &request);

// The soundtrack as 44100 Hz interleaved stereo; empty (a silent track) when it cannot be read.
std::vector<int16_t> LoadCaptureSound(const char *path);
