#pragma once

#include <array>
#include <utility>
#include <vector>

#include "driver/demo.h"
#include "driver/timeline.h"

// The presentation's windows with scenes that only record themselves and
// present the frame, to test the selection apart from what scenes draw.
inline std::vector<int> &DrawnWindows()
{
    static std::vector<int> drawn;
    return drawn;
}

template <int K> void RecordingScene(Demo &demo)
{
    DrawnWindows().push_back(K);
    demo.window.Update();
}

template <size_t... K>
std::array<TimelineWindow, kTimelineWindows> MakeFakeTimeline(std::index_sequence<K...>)
{
    return {TimelineWindow{kTimeline[K].end, RecordingScene<static_cast<int>(K)>}...};
}

inline const std::array<TimelineWindow, kTimelineWindows> &FakeTimeline()
{
    static const auto windows = MakeFakeTimeline(std::make_index_sequence<kTimelineWindows>());
    return windows;
}

class CountingSink final : public FrameSink {
  public:
    bool TakeFrame(const uint8_t *, int, int) override
    {
        ++frames;
        return true;
    }
    int frames = 0;
};
