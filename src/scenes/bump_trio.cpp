#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void BumpTrioScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    DrawPlaceholderFrame(demo, 0.1f, 0.5f, 0.9f);
}
