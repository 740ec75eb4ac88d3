#include <GL/gl.h>

#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void OpeningScene(Demo &demo)
{
    demo.window.GetSpectrum(demo.spectrum);
    const float t = demo.timer.GetTime();
    DrawPlaceholderFrame(demo, 0.9f, 0.2f + 0.5f * t / 140.0f, 0.2f);
}

void OpeningSpinScene(Demo &demo)
{
    demo.window.GetSpectrum(demo.spectrum);
    demo.timer.GetTime();
    const float d = demo.timer.GetDelta();
    AdvanceSteppedSpin(demo, d);
    DrawPlaceholderFrame(demo, 0.8f, 0.5f, 0.1f);
}

void DoubleSpinScene(Demo &demo)
{
    demo.timer.GetTime();
    const float d = demo.timer.GetDelta();
    AdvanceSteppedSpin(demo, d);
    DrawPlaceholderFrame(demo, 0.7f, 0.7f, 0.1f);
}
