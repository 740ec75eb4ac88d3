// The soundtrack's costs: one spectrum request, and what starting the music
// adds before the first frame, next to decoding the whole file up front.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "../tests/sound/mp3_fixture.h"
#include "platform/clock.h"
#include "sound/pcm_decoder.h"
#include "sound/soundtrack.h"
#include "sound/fft_magnitudes.h"

namespace {
// data/morvane.mp3 when run where the media is; otherwise a 225 s stand-in of
// drifting tones and noise, made once.
const std::string &Soundtrack()
{
    static const std::string path = [] {
        if (std::filesystem::exists("data/morvane.mp3"))
            return std::string("data/morvane.mp3");
        const std::string made =
            (std::filesystem::temp_directory_path() / "quillane-bench-soundtrack.mp3").string();
        if (std::filesystem::exists(made))
            return made;
        std::vector<int16_t> pcm;
        pcm.reserve(225 * 44100 * 2);
        uint32_t noise = 12345;
        for (int64_t n = 0; n < 225 * 44100; ++n) {
            const double t = static_cast<double>(n) / 44100.0;
            const double tone = 0.3 * std::sin(2 * std::numbers::pi * (110.0 + 20.0 * std::sin(t / 7)) * t) +
                                0.2 * std::sin(2 * std::numbers::pi * 1300.0 * t);
            noise = noise * 1664525u + 1013904223u;
            const double hiss = 0.05 * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0);
            const auto sample = static_cast<int16_t>(32767.0 * (tone + hiss));
            pcm.push_back(sample);
            pcm.push_back(sample);
        }
        WriteMp3(made, pcm, 44100, 2, 192);
        return made;
    }();
    return path;
}

void UseDummyAudio()
{
    setenv("SDL_AUDIODRIVER", "dummy", 0);
}

// The window, mixdown and FFT alone.
void BM_SpectrumAnalyse(benchmark::State &state)
{
    SpectrumAnalyser analyser;
    std::vector<int16_t> frames(2048);
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = static_cast<int16_t>(std::sin(static_cast<double>(i) * 0.1) * 20000.0);
    float out[1024];
    for (auto _ : state) {
        analyser.Analyse(frames.data(), out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_SpectrumAnalyse);

// A spectrum request of a fixed-step run, a new pass each time (60 frames per second).
void BM_SoundGetFFTFixedStep(benchmark::State &state)
{
    FixedStepClock clock(60, 1);
    SoundUseFixedStepClock(&clock);
    SoundInit(nullptr);
    SoundLoad(Soundtrack().c_str());
    SoundPlay(0.0);
    SoundWaitUntilDecoded();
    float out[1024];
    int64_t pass = 0;
    for (auto _ : state) {
        clock.SetPass(pass);
        pass = (pass + 1) % (200 * 60);
        benchmark::DoNotOptimize(SoundGetFFT(out));
    }
    SoundShutdown();
    SoundUseFixedStepClock(nullptr);
}
BENCHMARK(BM_SoundGetFFTFixedStep);

// A spectrum request while the music plays (SDL's dummy driver keeps real time).
void BM_SoundGetFFTLive(benchmark::State &state)
{
    UseDummyAudio();
    SoundInit(nullptr);
    SoundLoad(Soundtrack().c_str());
    SoundWaitUntilDecoded();
    SoundPlay(30.0);
    float out[1024];
    while (SoundGetFFT(out) == kSoundRequestFailed) {
    } // until the first callback has run
    for (auto _ : state)
        benchmark::DoNotOptimize(SoundGetFFT(out));
    SoundShutdown();
}
BENCHMARK(BM_SoundGetFFTLive);

// What starting the soundtrack adds before the first frame: open the device,
// load the file, play it from 0 (GLWindow::PlayMusic), then the first frame's
// spectrum request.
void BM_SoundStartUp(benchmark::State &state)
{
    UseDummyAudio();
    Soundtrack();
    float out[1024];
    for (auto _ : state) {
        SoundInit(nullptr);
        SoundLoad(Soundtrack().c_str());
        SoundPlay(0.0);
        benchmark::DoNotOptimize(SoundGetFFT(out));
        state.PauseTiming();
        SoundShutdown();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SoundStartUp)->Unit(benchmark::kMillisecond);

// The same in a fixed-step run, whose first request waits for the frames it needs.
void BM_SoundStartUpFixedStep(benchmark::State &state)
{
    Soundtrack();
    FixedStepClock clock(60, 1);
    SoundUseFixedStepClock(&clock);
    float out[1024];
    for (auto _ : state) {
        SoundInit(nullptr);
        SoundLoad(Soundtrack().c_str());
        SoundPlay(0.0);
        benchmark::DoNotOptimize(SoundGetFFT(out));
        state.PauseTiming();
        SoundShutdown();
        state.ResumeTiming();
    }
    SoundUseFixedStepClock(nullptr);
}
BENCHMARK(BM_SoundStartUpFixedStep)->Unit(benchmark::kMillisecond);

// The alternative start-up: decode the whole soundtrack before playing.
void BM_DecodeWholeSoundtrack(benchmark::State &state)
{
    Soundtrack();
    std::vector<int16_t> pcm;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeMp3File(Soundtrack().c_str(), pcm));
        state.counters["seconds"] = static_cast<double>(pcm.size()) / 2.0 / 44100.0;
    }
}
BENCHMARK(BM_DecodeWholeSoundtrack)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
