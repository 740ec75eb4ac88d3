#include <GL/gl.h>

#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void GreetingsScene(Demo &demo)
{
    demo.window.GetSpectrum(demo.spectrum);
    demo.timer.GetTime();
    demo.timer.GetDelta();
    DrawPlaceholderFrame(demo, 0.9f, 0.5f, 0.5f);
}

void GreetingsQuadScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    QuadrantViewport(3);
    DrawPlaceholderFrame(demo, 0.7f, 0.4f, 0.4f);
}
