#include <gtest/gtest.h>

#include "platform/timer.h"
#include "support/scripted_clock.h"

namespace {
// A counter that only moves when told, at a given frequency.
class ManualClock final : public ClockSource {
  public:
    explicit ManualClock(int64_t ticksPerSecond, int64_t start = 0)
        : frequency(ticksPerSecond), counter(start)
    {
    }
    int64_t Counter() override { return counter; }
    int64_t Frequency() override { return frequency; }
    int64_t frequency;
    int64_t counter;
};
} // namespace

TEST(Timer, OneSecondReadsTenTenths)
{
    ManualClock clock(1000000000);
    Timer timer(clock);
    clock.counter += 1000000000;
    EXPECT_NEAR(timer.GetTime(), 10.0f, 1e-6f);
}

TEST(Timer, FirstDeltaIsZeroAndTheSecondIsTheTimeSince)
{
    ManualClock clock(1000);
    Timer timer(clock);
    clock.counter = 2500; // 25 tenths
    EXPECT_EQ(timer.GetDelta(), 0.0f);
    clock.counter = 3700;
    EXPECT_NEAR(timer.GetDelta(), 12.0f, 1e-4f);
    clock.counter = 3800;
    EXPECT_NEAR(timer.GetDelta(), 1.0f, 1e-4f);
}

TEST(Timer, PreviousOfExactlyZeroActsAsAFirstCall)
{
    ManualClock clock(1000);
    Timer timer(clock);
    EXPECT_EQ(timer.GetDelta(), 0.0f); // stores a reading of exactly 0
    clock.counter = 500;
    EXPECT_EQ(timer.GetDelta(), 0.0f) << "a stored 0 means no value yet";
    clock.counter = 800;
    EXPECT_NEAR(timer.GetDelta(), 3.0f, 1e-4f);
}

TEST(Timer, TimeZeroIsTheStartOfPlaybackAfterAMonthOfUptime)
{
    const int64_t month = int64_t{30} * 24 * 3600 * 1000000000;
    ManualClock clock(1000000000, month + 123456789);
    Timer timer(clock);
    // Rounded to float, the start would be off by up to 0.8 s at this uptime.
    EXPECT_NEAR(timer.GetTime(), 0.0f, 1e-5f); // a microsecond is 1e-5 tenths
    clock.counter += 1000000;                  // one millisecond later
    EXPECT_NEAR(timer.GetTime(), 0.01f, 1e-5f);
}

TEST(Timer, FixedStepClockReadsThePassTime)
{
    FixedStepClock clock(60000, 1001);
    Timer timer(clock);
    struct Case {
        int64_t pass;
        double tenths;
    };
    for (const Case c :
         {Case{0, 0.0}, Case{1, 10 * 1001.0 / 60000}, Case{13487, 13487 * 10 * 1001.0 / 60000}}) {
        clock.SetPass(c.pass);
        EXPECT_NEAR(timer.GetTime(), c.tenths, 3e-4) << "pass " << c.pass; // a float ulp at 2250
        EXPECT_EQ(timer.GetTime(), timer.GetTime()) << "the clock does not move within a pass";
    }
    FixedStepClock sixty(60, 1);
    Timer exact(sixty);
    sixty.SetPass(13500);
    EXPECT_EQ(exact.GetTime(), 2250.0f) << "a pass on a whole tenth reads exactly that tenth";
}

TEST(Timer, ScriptedClockGivesExactTenths)
{
    ScriptedClock clock;
    clock.Push(0);
    clock.Push(140);
    Timer timer(clock);
    EXPECT_EQ(timer.GetTime(), 140.0f);
}
