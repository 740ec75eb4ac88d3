// Renders every window of the run (0 to 225 s) at 800x600 in
// fixed-step mode on whatever GL the machine has, and reports per window the
// frames per second and where a frame's time goes: "cpu_ms" is the scene
// routine up to its presented frame (our code and the GL driver's command
// building), "gl_ms" the wait in glFinish for the rasteriser to catch up.
//
// Needs the media: run it where data/ is, or set QUILLANE_DATA_DIR.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "driver/demo.h"
#include "driver/render_state.h"
#include "driver/resources.h"
#include "driver/timeline.h"
#include "platform/clock.h"
#include "platform/glwindow.h"
#include "platform/timer.h"
#include "scenes/common.h"
#include "scenes/ripple.h"

namespace {

constexpr int kFps = 30;

// The window, media and clock, made once for every benchmark.
struct Presentation {
    GLWindow window{800, 600, 32, false, "quillane bench"};
    std::unique_ptr<Resources> resources;
    FixedStepClock clock{kFps, 1};
    Timer timer{clock};
    Demo demo{window, timer};
    bool ready = false;

    Presentation()
    {
        if (!window.context || !std::filesystem::exists("data/twisty4.ebr"))
            return;
        resources = std::make_unique<Resources>();
        SetGlobalRenderState();
        LoadScenePerspective();
        demo.resources = resources.get();
        ready = true;
    }
};

Presentation &Shared()
{
    static Presentation presentation;
    return presentation;
}

double WindowStart(int k)
{
    return k == 0 ? 0.0 : static_cast<double>(kTimeline[k - 1].end);
}

int64_t PassOf(double tenths)
{
    return static_cast<int64_t>(std::ceil(tenths / 10.0 * kFps));
}

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Frames of one window, passes stepping at 30 per second through it and
// starting over at its beginning.
void BM_Window(benchmark::State &state)
{
    Presentation &p = Shared();
    if (!p.ready) {
        state.SkipWithError("no GL context or no data/ here (set QUILLANE_DATA_DIR)");
        return;
    }
    const int k = static_cast<int>(state.range(0));
    // One frame of every window before, so the GL state is the one the window meets.
    for (int before = 0; before <= k; ++before) {
        p.clock.SetPass(PassOf(WindowStart(before)));
        RunTimelinePass(p.demo);
    }
    glFinish();
    const int64_t first = PassOf(WindowStart(k));
    const int64_t end = PassOf(kTimeline[k].end);
    int64_t pass = first;
    double cpu = 0.0, gl = 0.0;
    for (auto _ : state) {
        p.clock.SetPass(pass);
        const auto t0 = Clock::now();
        RunTimelinePass(p.demo);
        const auto t1 = Clock::now();
        glFinish();
        const auto t2 = Clock::now();
        cpu += Milliseconds(t1 - t0);
        gl += Milliseconds(t2 - t1);
        pass = pass + 1 < end ? pass + 1 : first;
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["fps"] = frames * 1000.0 / (cpu + gl);
    state.counters["cpu_ms"] = cpu / frames;
    state.counters["gl_ms"] = gl / frames;
    state.SetLabel(std::to_string(static_cast<int>(WindowStart(k))) + "-" +
                   std::to_string(static_cast<int>(kTimeline[k].end)));
}
BENCHMARK(BM_Window)->DenseRange(0, kTimelineWindows - 1)->Unit(benchmark::kMillisecond)->UseRealTime();

// A whole movement once (from and to in tenths), ten passes a second: frames
// spread evenly over time, so their mean rate is the movement's mean as a
// viewer would see it.
void BM_Movement(benchmark::State &state)
{
    Presentation &p = Shared();
    if (!p.ready) {
        state.SkipWithError("no GL context or no data/ here (set QUILLANE_DATA_DIR)");
        return;
    }
    const int64_t from = state.range(0);
    const int64_t passes = state.range(1) - from;
    double cpu = 0.0, gl = 0.0;
    for (auto _ : state) {
        p.demo.heldTime = 0.0f;
        p.demo.stepAngle = 0.0f;
        for (int64_t n = 0; n < passes; ++n) {
            p.clock.SetPass(PassOf(static_cast<double>(from + n)));
            const auto t0 = Clock::now();
            RunTimelinePass(p.demo);
            const auto t1 = Clock::now();
            glFinish();
            const auto t2 = Clock::now();
            cpu += Milliseconds(t1 - t0);
            gl += Milliseconds(t2 - t1);
        }
    }
    const double frames = static_cast<double>(state.iterations() * passes);
    state.counters["fps"] = frames * 1000.0 / (cpu + gl);
    state.counters["cpu_ms"] = cpu / frames;
    state.counters["gl_ms"] = gl / frames;
}
BENCHMARK(BM_Movement)
    ->Args({0, 1030})
    ->Args({1030, 2250})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The rippling sphere's CPU side alone: the ripple from the rest shape and
// the normals of the result.
void BM_RippleSphere(benchmark::State &state)
{
    Presentation &p = Shared();
    if (!p.ready || p.resources->meshHisphere.objectCount < 1) {
        state.SkipWithError("no data/hisphere.ebr here");
        return;
    }
    SubMesh &sphere = *p.resources->meshHisphere.objects[0];
    const SubMesh &rest = *p.resources->meshHisphereB.objects[0];
    float t = 900.0f;
    for (auto _ : state) {
        const float phase = static_cast<float>(t * 0.02);
        RippleFromRest(sphere, rest, RippleWavesAt(phase), phase);
        if (state.range(0))
            p.resources->meshHisphere.RecomputeNormals();
        t += 1.0f;
    }
    state.counters["vertices"] = sphere.vertexCount;
}
BENCHMARK(BM_RippleSphere)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (const char *data = std::getenv("QUILLANE_DATA_DIR"))
        std::filesystem::current_path(data);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
