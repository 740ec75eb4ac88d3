#include <gtest/gtest.h>

#include <SDL.h>

#include "driver/main_loop.h"
#include "fake_timeline.h"
#include "platform/timer.h"
#include "support/offscreen_gl.h"
#include "support/scripted_clock.h"

namespace {
class MainLoopTest : public OffscreenGLTest {
  protected:
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        DrawnWindows().clear();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        window->quitRequested = false;
        window->SetFrameSink(&sink);
    }
    void TearDown() override { window->SetFrameSink(nullptr); }

    long Run(const std::function<bool()> &escape)
    {
        return RunMainLoop(demo, escape, nullptr, FakeTimeline());
    }

    ScriptedClock clock;
    Timer timer{clock};
    Demo demo{*window, timer};
    CountingSink sink;
};
} // namespace

TEST_F(MainLoopTest, EscapeHeldAtTheStartDrawsNothing)
{
    EXPECT_EQ(Run([] { return true; }), 0);
    EXPECT_EQ(sink.frames, 0);
}

TEST_F(MainLoopTest, EscapeDuringTheRunEndsAfterThatFrameIsPresented)
{
    int tests = 0;
    // Tested before the first pass and after every pass: the fourth test is after pass 3.
    EXPECT_EQ(Run([&] { return ++tests == 4; }), 3);
    EXPECT_EQ(sink.frames, 3);
}

TEST_F(MainLoopTest, AClosedWindowEndsThePresentation)
{
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(window->window);
    SDL_PushEvent(&close);
    int passes = 0;
    Run([&] { return ++passes > 100; });
    EXPECT_TRUE(window->quitRequested);
    EXPECT_LT(passes, 100) << "the loop ended on the quit, not on the guard";
}

TEST_F(MainLoopTest, TheRunEndsAtTheTopOfThePassAfterTheEnd)
{
    for (int reading = 0; reading < kTimelineWindows; ++reading)
        clock.Push(2249.9); // every bound test of the first pass
    clock.Push(2250.0);
    int tests = 0;
    EXPECT_EQ(Run([&] { return ++tests > 10; }), 2);
    EXPECT_EQ(sink.frames, 1) << "the last presented frame is the closing window's";
    EXPECT_EQ(DrawnWindows(), std::vector<int>{20});
    EXPECT_EQ(tests, 3) << "Escape is still tested before the pass that finds the end, and after it";
}

TEST_F(MainLoopTest, AFixedStepRunDrawsEveryPassUntilTheEnd)
{
    FixedStepClock fixed(10, 1); // one pass per tenth of a second
    Timer fixedTimer(fixed);
    Demo fixedDemo{*window, fixedTimer};
    const long passes = RunMainLoop(
        fixedDemo, [] { return false; }, &fixed, FakeTimeline());
    EXPECT_EQ(passes, 2251);
    EXPECT_EQ(sink.frames, 2250) << "passes 0 to 2249 draw, pass 2250 ends the run";
    EXPECT_EQ(DrawnWindows().front(), 0);
    EXPECT_EQ(std::count(DrawnWindows().begin(), DrawnWindows().end(), 1), 70) << "14.0 s to 21.0 s";
}
