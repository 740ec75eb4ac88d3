#include "driver/main_loop.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "driver/demo.h"
#include "driver/render_state.h"
#include "driver/resources.h"
#include "driver/timeline.h"
#include "platform/clock.h"
#include "platform/glwindow.h"
#include "platform/timer.h"
#include "scenes/common.h"
#include "sound/soundtrack.h"

long RunMainLoop(Demo &demo, const std::function<bool()> &escapeHeld, FixedStepClock *fixedStep,
                 std::span<const TimelineWindow> windows, const std::function<void(const Demo &)> &afterPass)
{
    long passes = 0;
    while (!escapeHeld() && !demo.quitFlag && !demo.window.quitRequested) {
        RunTimelinePass(demo, windows);
        ++passes;
        if (afterPass)
            afterPass(demo);
        if (fixedStep)
            fixedStep->SetPass(fixedStep->Pass() + 1);
    }
    return passes;
}

int RunPresentation(const PresentationConfig &config)
{
    GLWindow window(800, 600, 32, config.fullScreen, kWindowTitle, config.windowSize);

    // Every later GL call needs the window's context, texture creation included.
    Resources resources;
    SetGlobalRenderState();

    if (config.fixedStep)
        SoundUseFixedStepClock(config.fixedStep);
    window.PlayMusic(kSoundtrackPath, 0.0f);

    // Time 0 is the start of playback: all loading happened before this.
    MonotonicClock monotonic;
    ClockSource &clock = config.fixedStep ? static_cast<ClockSource &>(*config.fixedStep) : monotonic;
    Timer timer(clock);

    Demo demo{window, timer};
    demo.resources = &resources;
    demo.heldTime = 0.0f;
    demo.stepAngle = 0.0f;

    LoadScenePerspective(); // replaces the window's far plane of 10000; mode stays GL_PROJECTION

    demo.quitFlag = false;
    window.SetFrameSink(config.frameSink);
    RunMainLoop(demo, config.fixedStep ? std::function<bool()>([] { return false; }) : EscapeHeld,
                config.fixedStep, kTimeline, config.afterPass);

    window.SetFrameSink(nullptr);
    SoundUseFixedStepClock(nullptr);
    return 0;
}
