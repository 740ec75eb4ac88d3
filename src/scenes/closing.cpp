#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void ClosingScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    DrawPlaceholderFrame(demo, 0.95f, 0.95f, 0.95f);
}
