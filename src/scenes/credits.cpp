#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void CreditsScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    DrawPlaceholderFrame(demo, 0.5f, 0.9f, 0.9f);
}

void CreditsQuadScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    QuadrantViewport(3);
    DrawPlaceholderFrame(demo, 0.4f, 0.7f, 0.7f);
}
