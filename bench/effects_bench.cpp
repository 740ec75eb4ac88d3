// The per-frame metaball work against plain reference loops and against the
// divider's own limit, side by side in one run; the ratios are printed at the
// end. The optimised code must give the reference's results: the run stops
// before timing anything if it does not.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "effects/mc_tables.h"
#include "effects/metaballs.h"

namespace {

constexpr int kResolution = 30;
constexpr int kSide = kResolution + 1;
constexpr int kRepetitions = 5;
constexpr int kFieldDivisions = kSide * kSide * kSide * kBallCount; // 297,910

// Frames of the metaball scene: AnimateBalls arguments 25p for p = 120 ... 148.
constexpr float kFrameTimes[] = {3000.0f, 3250.0f, 3500.0f, 3700.0f};

void PlaceBallsAt(float t)
{
    AnimateBalls(t); // moves the balls; its own surface is not used here
}

// ---- The plain reference: the straightforward loops, point by point, cell by cell.

double FourthPower(float v)
{
    const double d = v;
    return (d * d) * (d * d);
}

float ReferenceField(float x, float y, float z)
{
    double sum = 0.0;
    for (int b = 0; b < kBallCount; ++b) {
        const float dx = x - balls[b].x;
        const float dy = y - balls[b].y;
        const float dz = z - balls[b].z;
        sum += FourthPower(balls[b].strength) / (FourthPower(dz) + FourthPower(dy) + FourthPower(dx));
    }
    return static_cast<float>(sum);
}

struct ReferenceLattice {
    std::vector<GridPoint> points = std::vector<GridPoint>(kSide * kSide * kSide);
    std::vector<GridCell> cells = std::vector<GridCell>(kResolution * kResolution * kResolution);
    FieldFunction field = ReferenceField;
    TriangleList triangles;

    GridPoint &Point(int i, int j, int k) { return points[(i * kSide + j) * kSide + k]; }

    ReferenceLattice()
    {
        for (int i = 0; i < kResolution; ++i)
            for (int j = 0; j < kResolution; ++j)
                for (int k = 0; k < kResolution; ++k) {
                    GridPoint **c = cells[(i * kResolution + j) * kResolution + k].corners;
                    c[0] = &Point(i, j, k);
                    c[1] = &Point(i + 1, j, k);
                    c[2] = &Point(i + 1, j, k + 1);
                    c[3] = &Point(i, j, k + 1);
                    c[4] = &Point(i, j + 1, k);
                    c[5] = &Point(i + 1, j + 1, k);
                    c[6] = &Point(i + 1, j + 1, k + 1);
                    c[7] = &Point(i, j + 1, k + 1);
                }
    }

    void Sample()
    {
        for (int i = 0; i <= kResolution; ++i)
            for (int j = 0; j <= kResolution; ++j)
                for (int k = 0; k <= kResolution; ++k) {
                    GridPoint &p = Point(i, j, k);
                    p.x = static_cast<float>(static_cast<double>(2 * i) / kResolution - 1.0);
                    p.y = static_cast<float>(static_cast<double>(2 * j) / kResolution - 1.0);
                    p.z = static_cast<float>(static_cast<double>(2 * k) / kResolution - 1.0);
                    p.value = field(p.x, p.y, p.z);
                }
    }

    static Vec3 Interpolate(float iso, const GridPoint &a, const GridPoint &b)
    {
        const float mu = (iso - a.value) / (b.value - a.value);
        return {a.x + mu * (b.x - a.x), a.y + mu * (b.y - a.y), a.z + mu * (b.z - a.z)};
    }

    static void FaceNormal(IsoTriangle &t)
    {
        const Vec3 &p0 = t.vertices[0];
        const Vec3 &p1 = t.vertices[1];
        const Vec3 &p2 = t.vertices[2];
        const Vec3 a{p0.x - p1.x, p0.y - p1.y, p0.z - p1.z};
        const Vec3 b{p0.x - p2.x, p0.y - p2.y, p0.z - p2.z};
        const Vec3 n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        t.normal = length > 0.0f ? Vec3{n.x / length, n.y / length, n.z / length} : Vec3{0.0f, 0.0f, 1.0f};
    }

    int PolygonizeCell(const GridCell &cell, float iso)
    {
        int caseIndex = 0;
        for (int b = 0; b < 8; ++b)
            if (cell.corners[b]->value < iso)
                caseIndex |= 1 << b;
        const int mask = edgeTable[caseIndex];
        if (mask == 0)
            return 0;
        Vec3 vertex[12] = {};
        for (int e = 0; e < 12; ++e)
            if (mask & (1 << e))
                vertex[e] =
                    Interpolate(iso, *cell.corners[kEdgeCorners[e][0]], *cell.corners[kEdgeCorners[e][1]]);
        int count = 0;
        for (int t = 0; triTable[caseIndex][t] != -1; t += 3) {
            IsoTriangle triangle{{vertex[triTable[caseIndex][t]], vertex[triTable[caseIndex][t + 1]],
                                  vertex[triTable[caseIndex][t + 2]]},
                                 {}};
            FaceNormal(triangle);
            triangles.push_back(triangle);
            ++count;
        }
        return count;
    }

    int Polygonize()
    {
        triangles.clear();
        int count = 0;
        for (const GridCell &cell : cells)
            count += PolygonizeCell(cell, 1.0f);
        return count;
    }
};

// ---- The divider's limit: the same number of double divisions, as wide as
// the machine allows, with nothing else to do.

alignas(64) double divisors[512];

#if defined(__x86_64__)
typedef double Doubles8 __attribute__((vector_size(64)));
typedef double Doubles4 __attribute__((vector_size(32)));

__attribute__((target("avx512f"))) double DivideWith512Bits(int divisions)
{
    const Doubles8 *d = reinterpret_cast<const Doubles8 *>(divisors);
    const Doubles8 numerator = Doubles8{} + 0.0081;
    Doubles8 a0{}, a1{}, a2{}, a3{};
    const int vectors = (divisions + 7) / 8;
    int v = 0;
    for (; v + 4 <= vectors; v += 4) {
        a0 += numerator / d[v & 63];
        a1 += numerator / d[(v + 1) & 63];
        a2 += numerator / d[(v + 2) & 63];
        a3 += numerator / d[(v + 3) & 63];
    }
    for (; v < vectors; ++v)
        a0 += numerator / d[v & 63];
    const Doubles8 sum = (a0 + a1) + (a2 + a3);
    double total = 0.0;
    for (int lane = 0; lane < 8; ++lane)
        total += sum[lane];
    return total;
}

__attribute__((target("avx2"))) double DivideWith256Bits(int divisions)
{
    const Doubles4 *d = reinterpret_cast<const Doubles4 *>(divisors);
    const Doubles4 numerator = Doubles4{} + 0.0081;
    Doubles4 a0{}, a1{}, a2{}, a3{};
    const int vectors = (divisions + 3) / 4;
    int v = 0;
    for (; v + 4 <= vectors; v += 4) {
        a0 += numerator / d[v & 127];
        a1 += numerator / d[(v + 1) & 127];
        a2 += numerator / d[(v + 2) & 127];
        a3 += numerator / d[(v + 3) & 127];
    }
    for (; v < vectors; ++v)
        a0 += numerator / d[v & 127];
    const Doubles4 sum = (a0 + a1) + (a2 + a3);
    return (sum[0] + sum[1]) + (sum[2] + sum[3]);
}
#endif

double DivideWith128Bits(int divisions)
{
    double a[8] = {};
    int i = 0;
    for (; i + 8 <= divisions; i += 8)
        for (int lane = 0; lane < 8; ++lane)
            a[lane] += 0.0081 / divisors[(i + lane) & 511];
    for (; i < divisions; ++i)
        a[0] += 0.0081 / divisors[i & 511];
    double total = 0.0;
    for (double x : a)
        total += x;
    return total;
}

using DivideFunction = double (*)(int);

DivideFunction WidestDivide(const char **name)
{
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f")) {
        *name = "512-bit";
        return DivideWith512Bits;
    }
    if (__builtin_cpu_supports("avx2")) {
        *name = "256-bit";
        return DivideWith256Bits;
    }
#endif
    *name = "128-bit";
    return DivideWith128Bits;
}

const char *divideWidth = "";
const DivideFunction widestDivide = WidestDivide(&divideWidth);

// ---- Benchmarks.

void BM_DividerLimit(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(widestDivide(kFieldDivisions));
    state.SetLabel(divideWidth);
}
BENCHMARK(BM_DividerLimit)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

#if defined(__x86_64__)
void BM_DividerLimit256(benchmark::State &state)
{
    if (!__builtin_cpu_supports("avx2")) {
        state.SkipWithError("no AVX2");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(DivideWith256Bits(kFieldDivisions));
}
BENCHMARK(BM_DividerLimit256)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
#endif

void BM_SampleReference(benchmark::State &state)
{
    PlaceBallsAt(kFrameTimes[0]);
    ReferenceLattice lattice;
    for (auto _ : state) {
        lattice.Sample();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_SampleReference)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

void BM_Sample(benchmark::State &state)
{
    PlaceBallsAt(kFrameTimes[0]);
    Metaballs grid(kResolution, 1.0f, BallField);
    for (auto _ : state) {
        grid.Sample();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Sample)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

void BM_PolygonizeReference(benchmark::State &state)
{
    PlaceBallsAt(kFrameTimes[state.range(0)]);
    ReferenceLattice lattice;
    lattice.Sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(lattice.Polygonize());
    state.counters["triangles"] = static_cast<double>(lattice.triangles.size());
}
BENCHMARK(BM_PolygonizeReference)->DenseRange(0, 3)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

void BM_Polygonize(benchmark::State &state)
{
    PlaceBallsAt(kFrameTimes[state.range(0)]);
    Metaballs grid(kResolution, 1.0f, BallField);
    for (auto _ : state)
        benchmark::DoNotOptimize(grid.Polygonize());
    state.counters["triangles"] = static_cast<double>(grid.triangles.size());
}
BENCHMARK(BM_Polygonize)->DenseRange(0, 3)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);

// ---- Agreement, checked before anything is timed.

bool SamplesAgree()
{
    for (float t : kFrameTimes) {
        PlaceBallsAt(t);
        ReferenceLattice lattice;
        lattice.Sample();
        Metaballs grid(kResolution, 1.0f, BallField);
        for (int p = 0; p < kSide * kSide * kSide; ++p)
            if (std::memcmp(&lattice.points[p], &grid.points[p], sizeof(GridPoint)) != 0) {
                std::fprintf(stderr, "sample %d differs at t = %g\n", p, t);
                return false;
            }
    }
    return true;
}

bool TrianglesAgree()
{
    for (float t : kFrameTimes) {
        PlaceBallsAt(t);
        ReferenceLattice lattice;
        lattice.Sample();
        lattice.Polygonize();
        Metaballs grid(kResolution, 1.0f, BallField);
        grid.Polygonize();
        if (grid.triangles.size() != lattice.triangles.size()) {
            std::fprintf(stderr, "%zu triangles, the reference %zu at t = %g\n", grid.triangles.size(),
                         lattice.triangles.size(), t);
            return false;
        }
        for (size_t i = 0; i < grid.triangles.size(); ++i) {
            const IsoTriangle &a = grid.triangles[i];
            const IsoTriangle &b = lattice.triangles[i];
            const Vec3 pairs[4][2] = {{a.vertices[0], b.vertices[0]},
                                      {a.vertices[1], b.vertices[1]},
                                      {a.vertices[2], b.vertices[2]},
                                      {a.normal, b.normal}};
            for (const auto &pair : pairs)
                if (std::fabs(pair[0].x - pair[1].x) > 1e-6f || std::fabs(pair[0].y - pair[1].y) > 1e-6f ||
                    std::fabs(pair[0].z - pair[1].z) > 1e-6f) {
                    std::fprintf(stderr, "triangle %zu differs at t = %g\n", i, t);
                    return false;
                }
        }
    }
    return true;
}

// Prints every run as usual, then the ratios between the runs of this one
// process: medians of the repetitions, in CPU time (steadier than wall time
// on a shared machine): how much faster than the reference, how close to the
// divider.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            if (!run.error_occurred && run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                std::string key = run.run_name.function_name;
                if (!run.run_name.args.empty()) {
                    key += '/';
                    key += run.run_name.args;
                }
                times[key] = run.GetAdjustedCPUTime();
            }
        ConsoleReporter::ReportRuns(runs);
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        auto ratio = [&](const std::string &a, const std::string &b) {
            return times.count(a) && times.count(b) ? times[a] / times[b] : 0.0;
        };
        std::printf("\nRatios (same run):\n");
        std::printf("  field sampling: reference / optimised        = %.2f  (goal >= 3.5)\n",
                    ratio("BM_SampleReference", "BM_Sample"));
        std::printf("  field sampling: optimised / divider limit    = %.2f  (goal <= 1.2; %s vectors)\n",
                    ratio("BM_Sample", "BM_DividerLimit"), divideWidth);
        for (int frame = 0; frame < 4; ++frame) {
            char reference[64];
            char optimised[64];
            std::snprintf(reference, sizeof reference, "BM_PolygonizeReference/%d", frame);
            std::snprintf(optimised, sizeof optimised, "BM_Polygonize/%d", frame);
            std::printf("  polygonising, frame %d: reference / optimised = %.2f  (goal >= 4)\n", frame,
                        ratio(reference, optimised));
        }
    }

  private:
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char **argv)
{
    for (int i = 0; i < 512; ++i)
        divisors[i] = 0.5 + i * 0.001;
    if (!SamplesAgree() || !TrianglesAgree())
        return 1;
    std::printf("Optimised samples are bit-identical and triangles agree within 1e-6, in order.\n");
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
