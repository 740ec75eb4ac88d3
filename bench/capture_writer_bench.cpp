// Encoding speed of the capture's video writer at 800x600, per x264 preset:
// colour conversion, H.264 and AAC encoding and MP4 writing of frames with
// moving detail (flat frames would flatter the encoder).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "driver/capture_writer.h"

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;

std::vector<uint8_t> MovingFrame(int n)
{
    std::vector<uint8_t> frame(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const double wave = std::sin((x + 3 * n) * 0.05) * std::cos((y - 2 * n) * 0.04);
            uint8_t *p = &frame[(static_cast<size_t>(y) * kWidth + x) * 3];
            p[0] = static_cast<uint8_t>(128 + 100 * wave);
            p[1] = static_cast<uint8_t>((x * 7 + y * 3 + n * 5) & 255);
            p[2] = static_cast<uint8_t>(((x ^ y) + n) & 255);
        }
    return frame;
}

void WriteFrames(benchmark::State &state, const char *preset)
{
    std::vector<std::vector<uint8_t>> frames;
    for (int n = 0; n < 60; ++n)
        frames.push_back(MovingFrame(n));
    std::vector<int16_t> sound(44100 * 2 * 30);
    for (size_t i = 0; i < sound.size(); ++i)
        sound[i] = static_cast<int16_t>(8000 * std::sin(static_cast<double>(i) * 0.01));

    VideoSettings settings;
    settings.path = std::string(P_tmpdir) + "/quillane-writer-bench.mp4";
    settings.x264Preset = preset;
    int64_t written = 0;
    for (auto _ : state) {
        state.PauseTiming();
        VideoWriter writer(settings);
        writer.SetSound(sound);
        state.ResumeTiming();
        for (const auto &frame : frames)
            writer.WriteFrame(frame.data());
        if (!writer.Finish())
            state.SkipWithError(writer.Error().c_str());
        written += static_cast<int64_t>(frames.size());
    }
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(written), benchmark::Counter::kIsRate);
    std::remove(settings.path.c_str());
}
} // namespace

BENCHMARK_CAPTURE(WriteFrames, ultrafast, "ultrafast")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(WriteFrames, veryfast, "veryfast")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(WriteFrames, faster, "faster")->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
