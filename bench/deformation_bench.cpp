// The processor's share of the two deforming scenes, per frame: the ripple
// pushing the sphere along its normals and the slime twisting every vertex
// towards its lagging angles, each followed by the normal recomputation the
// scene does. Compare with the frame times of windows 890-1030 and 1895-2080
// in presentation_bench.
//
// Needs the media: run it where data/ is, or set QUILLANE_DATA_DIR.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "assets/geometry.h"
#include "assets/mesh.h"
#include "driver/resources.h"
#include "scenes/ripple.h"
#include "scenes/slime.h"

namespace {

bool HasFirstObject(const Mesh &mesh)
{
    return mesh.objectCount > 0 && mesh.objects && mesh.objects[0];
}

void BM_RippleDeformation(benchmark::State &state)
{
    Mesh sphere("data/hisphere.ebr");
    Mesh rest("data/hisphere.ebr");
    if (!HasFirstObject(sphere) || !HasFirstObject(rest)) {
        state.SkipWithError("no data/hisphere.ebr here (set QUILLANE_DATA_DIR)");
        return;
    }
    float p = 17.8f; // the window's first parameter, t x 0.02 at 890
    for (auto _ : state) {
        RippleFromRest(*sphere.objects[0], *rest.objects[0], RippleWavesAt(p), p);
        sphere.RecomputeNormals();
        benchmark::ClobberMemory();
        p += 0.0033f; // one frame at 60 per second
    }
    state.counters["vertices"] = sphere.objects[0]->vertexCount;
}
BENCHMARK(BM_RippleDeformation)->Unit(benchmark::kMicrosecond);

void BM_SlimeDeformation(benchmark::State &state)
{
    Mesh slimy("data/slimy.ebr");
    Mesh rest("data/slimy.ebr");
    if (!HasFirstObject(slimy) || !HasFirstObject(rest)) {
        state.SkipWithError("no data/slimy.ebr here (set QUILLANE_DATA_DIR)");
        return;
    }
    const std::vector<float> radius = SlimyRadius(slimy);
    std::vector<Vec3> offset(radius.size(), Vec3{0, 0, 0});
    float p = 0.0f;
    const float d = 1.0f / 6.0f; // one frame at 60 per second, in tenths
    for (auto _ : state) {
        TwistSlime(*rest.objects[0], *slimy.objects[0], radius, offset, SlimeTarget(p), d);
        slimy.RecomputeNormals();
        benchmark::ClobberMemory();
        p += d * 0.04f;
    }
    state.counters["vertices"] = slimy.objects[0]->vertexCount;
}
BENCHMARK(BM_SlimeDeformation)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (const char *data = std::getenv("QUILLANE_DATA_DIR"))
        std::filesystem::current_path(data);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
