#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void SpikeScene(Demo &demo)
{
    demo.window.GetSpectrum(demo.spectrum);
    FullWindowView();
    demo.timer.GetTime();
    DrawPlaceholderFrame(demo, 0.9f, 0.1f, 0.9f);
}

void BumpSpikeScene(Demo &demo)
{
    demo.timer.GetTime();
    DrawPlaceholderFrame(demo, 0.6f, 0.1f, 0.6f);
}
