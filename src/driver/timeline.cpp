#include "driver/timeline.h"

#include "driver/demo.h"
#include "scenes/scenes.h"

const TimelineWindow kTimeline[kTimelineWindows] = {
    {140, OpeningScene},
    {210, OpeningSpinScene},
    {360, DoubleSpinScene},
    {380, [](Demo &demo) { TitleScene(demo, TitleWord::None); }},
    {400, [](Demo &demo) { TitleScene(demo, TitleWord::Title1); }},
    {420, [](Demo &demo) { TitleScene(demo, TitleWord::Title2); }},
    {440, [](Demo &demo) { TitleScene(demo, TitleWord::Title3); }},
    {570, [](Demo &demo) { TitleScene(demo, TitleWord::Title4); }},
    {600, TitleQuadScene},
    {740, MetaballScene},
    {890, BumpTrioScene},
    {1030, RippleScene},
    {1310, GreetingsScene},
    {1350, GreetingsQuadScene},
    {1490, SpikeScene},
    {1630, BumpSpikeScene},
    {1770, CreditsScene},
    {1795, CreditsQuadScene},
    {1895, TwinBumpScene},
    {2080, SlimeScene},
    {kPresentationEnd, ClosingScene},
};

int RunTimelinePass(Demo &demo, std::span<const TimelineWindow> windows)
{
    for (size_t k = 0; k < windows.size(); ++k) {
        // A fresh reading for every bound tested, as the clock moves on.
        if (demo.timer.GetTime() < windows[k].end) {
            windows[k].scene(demo);
            return static_cast<int>(k);
        }
    }
    demo.quitFlag = true;
    return -1;
}
