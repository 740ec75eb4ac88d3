#pragma once

#include <functional>
#include <span>

#include "driver/timeline.h"

#include "platform/glwindow.h"

class FixedStepClock;
class FrameSink;
struct Demo;

// Runs passes of the timeline until Escape is held (tested before the first
// pass and after every pass), the quit flag is set, or the window was closed.
// A fixed-step clock, when given, moves to the next pass after each one.
// Returns the number of passes run. afterPass, when set, sees the carried
// state after every pass (tests watch what the scenes left there).
long RunMainLoop(Demo &demo, const std::function<bool()> &escapeHeld, FixedStepClock *fixedStep,
                 std::span<const TimelineWindow> windows = kTimeline,
                 const std::function<void(const Demo &)> &afterPass = {});

struct PresentationConfig {
    bool fullScreen = true;
    // Fixed-step runs: no device, no display; frames go to the sink.
    FixedStepClock *fixedStep = nullptr;
    FrameSink *frameSink = nullptr;
    // The drawable; the 800x600 picture is scaled into it.
    WindowSize windowSize;
    // Called with the carried state after every pass of the main loop.
    std::function<void(const Demo &)> afterPass;
};

// The whole life of the presentation: start-up, the main loop, shutdown.
int RunPresentation(const PresentationConfig &config);

constexpr const char *kWindowTitle = "velmora - quillane";
constexpr const char *kSoundtrackPath = "data/morvane.mp3";
