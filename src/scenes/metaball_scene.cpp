#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void MetaballScene(Demo &demo)
{
    FullWindowView();
    demo.timer.GetTime();
    demo.timer.GetDelta();
    DrawPlaceholderFrame(demo, 0.1f, 0.7f, 0.7f);
}
