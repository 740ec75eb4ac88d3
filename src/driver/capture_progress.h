#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

// "[#######-------------]   1350/13500 frames  10%  58.2 fps  3:29 left"
std::string FormatProgressBar(int64_t frames, int64_t total, double elapsedSeconds);

// "quillane: capture 10% (1350/13500 frames, 58.2 fps, 3:29 left)"
std::string FormatProgressLine(int64_t frames, int64_t total, double elapsedSeconds);

// The capture's progress on standard error: a bar redrawn in place on a
// terminal, one plain line per tenth of the way otherwise (logs, pipes).
class CaptureProgress {
  public:
    CaptureProgress(int64_t totalFrames, std::FILE *out, bool terminal);

    // After each frame.
    void Update(int64_t frames);
    // The last figures; ends the bar's line.
    void Done(int64_t frames);

  private:
    double Elapsed() const;

    int64_t total;
    std::FILE *out;
    bool terminal;
    std::chrono::steady_clock::time_point start;
    double lastDraw = -1.0;
    int64_t tenthsReported = 0;
};
