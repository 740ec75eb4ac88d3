#pragma once

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/glwindow.h"

// Frame shots: the frames of chosen passes written as PNG files named by
// their time ("062.500.png"). Ends the run after the last one.
class ShotSink final : public FrameSink {
  public:
    ShotSink(const FixedStepClock &clock, std::string directory, const std::vector<double> &seconds);

    bool TakeFrame(const uint8_t *pixels, int width, int height) override;

    // Every shot written.
    bool Complete() const { return !failed && next == passes.size(); }
    const std::vector<std::string> &Written() const { return written; }

  private:
    const FixedStepClock &clock;
    std::string directory;
    std::vector<int64_t> passes; // ascending, each once
    size_t next = 0;
    std::vector<uint8_t> flipped;
    std::vector<std::string> written;
    bool failed = false;
};

// The pass of a fixed-step run that shows the given second.
int64_t PassAt(const FixedStepClock &clock, double seconds);

// Renders the shots; returns the process exit status.
int RunShots(const std::string &directory, const std::vector<double> &seconds, int64_t fpsNumerator,
             int64_t fpsDenominator, const WindowSize &size = {});
