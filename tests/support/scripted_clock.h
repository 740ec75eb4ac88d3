#pragma once

#include <cstdint>
#include <deque>

#include "platform/clock.h"

// A clock whose counter readings are given in tenths of a second, one per
// reading; the last value repeats once the script runs out. The frequency
// makes the Timer's float scale exact (10 / 10240 = 1/1024).
class ScriptedClock final : public ClockSource {
  public:
    static constexpr int64_t kTicksPerTenth = 1024;

    void Push(double tenths) { script.push_back(static_cast<int64_t>(tenths * kTicksPerTenth)); }
    void Hold(double tenths)
    {
        script.clear();
        Push(tenths);
    }
    int64_t Counter() override
    {
        ++readings;
        if (script.size() > 1) {
            const int64_t value = script.front();
            script.pop_front();
            return value;
        }
        return script.empty() ? 0 : script.front();
    }
    int64_t Frequency() override { return 10 * kTicksPerTenth; }

    int readings = 0;

  private:
    std::deque<int64_t> script;
};
