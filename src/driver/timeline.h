#pragma once

struct Demo;

// The end of the presentation, in tenths of a second.
constexpr float kPresentationEnd = 2250.0f;

// One pass: read the clock once per bound until a window holds the time, and
// run that window's scene. Past the last bound nothing is drawn and the quit
// flag is set. Returns the index of the window drawn, or -1 at the end.
int RunTimelinePass(Demo &demo);

// The upper bound of window k (0 to 20), in tenths of a second.
float TimelineBound(int k);
constexpr int kTimelineWindows = 21;
