#pragma once

#include <span>

struct Demo;

// The end of the presentation, in tenths of a second.
constexpr float kPresentationEnd = 2250.0f;

using SceneRoutine = void (*)(Demo &);

// A time window: it starts where the previous one ends (0 for the first).
struct TimelineWindow {
    float end; // tenths of a second, exclusive
    SceneRoutine scene;
};

constexpr int kTimelineWindows = 21;
extern const TimelineWindow kTimeline[kTimelineWindows];

// One pass: read the clock once per bound until a window holds the time, and
// run that window's scene. Past the last bound nothing is drawn and the quit
// flag is set. Returns the index of the window drawn, or -1 at the end.
int RunTimelinePass(Demo &demo, std::span<const TimelineWindow> windows = kTimeline);
