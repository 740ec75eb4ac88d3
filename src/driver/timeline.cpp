#include "driver/timeline.h"

#include "driver/demo.h"
#include "scenes/scenes.h"

namespace {
struct TimelineWindow {
    float end; // tenths of a second; the window starts where the previous one ends
    void (*scene)(Demo &);
};

constexpr TimelineWindow kWindows[kTimelineWindows] = {
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
} // namespace

float TimelineBound(int k)
{
    return kWindows[k].end;
}

int RunTimelinePass(Demo &demo)
{
    for (int k = 0; k < kTimelineWindows; ++k) {
        // A fresh reading for every bound tested, as the clock moves on.
        if (demo.timer.GetTime() < kWindows[k].end) {
            kWindows[k].scene(demo);
            return k;
        }
    }
    demo.quitFlag = true;
    return -1;
}
