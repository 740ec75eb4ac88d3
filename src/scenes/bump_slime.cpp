#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void TwinBumpScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    FullWindowView();
    DrawPlaceholderFrame(demo, 0.3f, 0.3f, 0.3f);
    // Stamped after the frame is presented: the slime scene counts from here.
    demo.heldTime = demo.timer.GetTime();
}

void SlimeScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    DrawPlaceholderFrame(demo, 0.5f, 0.6f, 0.2f);
}
