#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void RippleScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    DrawPlaceholderFrame(demo, 0.2f, 0.2f, 0.9f);
}
