#pragma once

#include <cstdint>

// Where the Timer gets its ticks: the monotonic clock when playing live, a
// fixed-step clock when rendering frame shots or a capture, a script in tests.
class ClockSource {
  public:
    virtual ~ClockSource() = default;
    virtual int64_t Counter() = 0;
    virtual int64_t Frequency() = 0;
};

// CLOCK_MONOTONIC in nanoseconds.
class MonotonicClock final : public ClockSource {
  public:
    int64_t Counter() override;
    int64_t Frequency() override { return 1000000000; }
};

// Every reading during pass n of a run at numerator/denominator frames per
// second is the time of that pass, n * denominator / numerator seconds; it
// does not move within a pass. The frequency is 10 * 2^20 ticks per second so
// that the Timer's float scale (10 / frequency = 2^-20) is exact and a pass
// that falls on a whole tenth reads exactly that tenth.
class FixedStepClock final : public ClockSource {
  public:
    static constexpr int64_t kFrequency = int64_t{10} << 20;

    FixedStepClock(int64_t fpsNumerator, int64_t fpsDenominator);

    void SetPass(int64_t n) { pass = n; }
    int64_t Pass() const { return pass; }
    // Seconds at the start of pass n.
    double PassSeconds(int64_t n) const;

    int64_t Counter() override;
    int64_t Frequency() override { return kFrequency; }

    int64_t fpsNumerator;
    int64_t fpsDenominator;

  private:
    int64_t pass = 0;
};
