#include "platform/timer.h"

#include <cmath>
#include <ctime>

int64_t MonotonicClock::Counter()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

FixedStepClock::FixedStepClock(int64_t numerator, int64_t denominator)
    : fpsNumerator(numerator), fpsDenominator(denominator)
{
}

double FixedStepClock::PassSeconds(int64_t n) const
{
    return static_cast<double>(n) * static_cast<double>(fpsDenominator) / static_cast<double>(fpsNumerator);
}

int64_t FixedStepClock::Counter()
{
    // Rounded to the nearest tick; exact whenever the pass time is a whole
    // number of 2^-20 tenths, which every timeline bound is.
    // Long double holds these products exactly (64-bit mantissa).
    const long double ticks = static_cast<long double>(pass) * fpsDenominator * kFrequency;
    return std::llroundl(ticks / fpsNumerator);
}

namespace {
MonotonicClock &SharedMonotonicClock()
{
    static MonotonicClock clock; // stateless
    return clock;
}
} // namespace

Timer::Timer() : Timer(SharedMonotonicClock()) {}

Timer::Timer(ClockSource &source) : clock(&source)
{
    frequency = clock->Frequency();
    // A clock without a frequency cannot tell time; read its counter as
    // nanoseconds rather than dividing by zero.
    if (frequency <= 0)
        frequency = 1000000000;
    scale = static_cast<float>(10.0 / static_cast<double>(frequency));
    Reset();
    previous = 0.0f;
}

void Timer::Reset()
{
    start = Now();
}

double Timer::Now()
{
    counter = clock->Counter();
    return static_cast<double>(counter) * static_cast<double>(scale);
}

float Timer::GetTime()
{
    return static_cast<float>(Now() - start);
}

float Timer::GetDelta()
{
    if (previous == 0.0f) {
        previous = GetTime();
        return 0.0f;
    }
    const float d = GetTime() - previous;
    previous = GetTime();
    return d;
}
