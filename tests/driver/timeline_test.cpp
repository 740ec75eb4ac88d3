#include <gtest/gtest.h>

#include "driver/timeline.h"
#include "fake_timeline.h"
#include "platform/timer.h"
#include "support/offscreen_gl.h"
#include "support/scripted_clock.h"

namespace {
class TimelineTest : public OffscreenGLTest {
  protected:
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        DrawnWindows().clear();
        window->SetFrameSink(&sink);
    }
    void TearDown() override { window->SetFrameSink(nullptr); }

    // One pass with every clock reading at the given time.
    int PassAt(double tenths)
    {
        clock.Hold(tenths);
        clock.readings = 0;
        return RunTimelinePass(demo, FakeTimeline());
    }

    ScriptedClock clock;
    Timer timer{clock};
    Demo demo{*window, timer};
    CountingSink sink;
};
} // namespace

TEST_F(TimelineTest, EachBoundBelongsToTheWindowItStarts)
{
    for (int k = 0; k < kTimelineWindows; ++k) {
        const float bound = kTimeline[k].end;
        EXPECT_EQ(PassAt(bound - 0.01), k) << "just below " << bound;
        EXPECT_EQ(clock.readings, k + 1) << "one fresh reading per bound tested";
        const int next = k + 1 < kTimelineWindows ? k + 1 : -1;
        EXPECT_EQ(PassAt(bound), next) << "exactly " << bound;
    }
}

TEST_F(TimelineTest, TheEndDrawsNothingAndRaisesTheQuitFlag)
{
    EXPECT_EQ(PassAt(2249.99), 20);
    EXPECT_FALSE(demo.quitFlag);
    EXPECT_EQ(sink.frames, 1);
    EXPECT_EQ(PassAt(2250), -1);
    EXPECT_TRUE(demo.quitFlag);
    EXPECT_EQ(sink.frames, 1) << "no GLWindow::Update at the end";
    EXPECT_EQ(DrawnWindows(), std::vector<int>{20});
}

TEST_F(TimelineTest, ALongPassSkipsAWholeWindow)
{
    PassAt(1790);
    PassAt(1900);
    EXPECT_EQ(DrawnWindows(), (std::vector<int>{17, 19})) << "the window 1795-1895 is never drawn";
}
