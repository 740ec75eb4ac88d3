#pragma once

#include <cstdint>

#include "platform/clock.h"

// The presentation's clock, in tenths of a second since construction.
class Timer {
  public:
    explicit Timer(ClockSource &clock);
    Timer(); // the monotonic clock

    void Reset();
    double Now();
    float GetTime();
    float GetDelta();

    int64_t counter = 0;
    int64_t frequency = 0;
    float scale = 0.0f;
    // Kept in double: rounded to float, time 0 would sit up to half a float
    // step away from the start of playback, and that step grows with uptime.
    double start = 0.0;
    float previous = 0.0f;

  private:
    ClockSource *clock;
};
