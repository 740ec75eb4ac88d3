#include "effects/ball_field.h"

#include <algorithm>

// Strengths are fixed; the positions are rewritten by AnimateBalls. A plain
// aggregate with constant initialisers, so it is ready before `metaballs` is
// constructed during static initialisation.
Metaball balls[kBallCount] = {
    {0.2f, 0.0f, 0.0f, 0.0f},  {0.25f, 0.0f, 0.0f, 0.0f}, {0.3f, 0.0f, 0.0f, 1.0f}, {0.25f, 0.0f, 1.0f, 0.0f},
    {0.2f, 0.0f, 0.0f, 0.0f},  {0.15f, 0.0f, 0.0f, 0.0f}, {0.2f, 0.0f, 0.0f, 0.0f}, {0.15f, 0.0f, 1.0f, 0.0f},
    {0.15f, 0.0f, 0.0f, 1.0f}, {0.2f, 0.0f, 0.0f, 0.0f},
};

namespace {

// v^4 in double: the square of a float is exact in double, so only the last
// product rounds. Both the scalar and the batched field use exactly this.
inline double FourthPower(float v)
{
    const double d = v;
    const double square = d * d;
    return square * square;
}

} // namespace

float BallField(float x, float y, float z)
{
    double sum = 0.0;
    for (const Metaball &ball : balls) {
        const float dx = x - ball.x;
        const float dy = y - ball.y;
        const float dz = z - ball.z;
        // A point at a ball's centre divides by zero: +infinity, never a trap.
        sum += FourthPower(ball.strength) / (FourthPower(dz) + FourthPower(dy) + FourthPower(dx));
    }
    return static_cast<float>(sum);
}

// Wider vectors only where the processor has them, chosen at load time.
#if defined(__x86_64__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define QUILLANE_VECTOR_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#endif
#endif
#ifndef QUILLANE_VECTOR_CLONES
#define QUILLANE_VECTOR_CLONES
#endif

namespace {

// Points of one lattice row (fixed i and j) evaluated together.
constexpr int kLanes = 32;

// One row: every lane sums its quotients in ball order, as BallField does, so
// the result is identical; only the independent lanes run side by side. The
// fourth powers of the three axis differences come from small tables, since
// each depends on one index only.
QUILLANE_VECTOR_CLONES
void SumRow(const double (&zPowers)[kBallCount][kLanes], const double (&yPowers)[kBallCount],
            const double (&xPowers)[kBallCount], const double (&strengthPowers)[kBallCount],
            double (&sum)[kLanes])
{
    for (int lane = 0; lane < kLanes; ++lane)
        sum[lane] = 0.0;
    for (int b = 0; b < kBallCount; ++b) {
        const double numerator = strengthPowers[b];
        const double y4 = yPowers[b];
        const double x4 = xPowers[b];
        for (int lane = 0; lane < kLanes; ++lane)
            sum[lane] += numerator / (zPowers[b][lane] + y4 + x4);
    }
}

} // namespace

void SampleBallFieldLattice(GridPoint *points, int resolution)
{
    const int side = resolution + 1;
    double strengthPowers[kBallCount];
    for (int b = 0; b < kBallCount; ++b)
        strengthPowers[b] = FourthPower(balls[b].strength);

    for (int k0 = 0; k0 < side; k0 += kLanes) {
        const int lanes = std::min(kLanes, side - k0);
        alignas(64) double zPowers[kBallCount][kLanes];
        float zs[kLanes];
        for (int lane = 0; lane < kLanes; ++lane)
            zs[lane] = lane < lanes ? LatticeCoordinate(k0 + lane, resolution) : 0.0f;
        for (int b = 0; b < kBallCount; ++b)
            for (int lane = 0; lane < kLanes; ++lane)
                zPowers[b][lane] = lane < lanes ? FourthPower(zs[lane] - balls[b].z) : 1.0;

        for (int i = 0; i < side; ++i) {
            const float x = LatticeCoordinate(i, resolution);
            double xPowers[kBallCount];
            for (int b = 0; b < kBallCount; ++b)
                xPowers[b] = FourthPower(x - balls[b].x);
            for (int j = 0; j < side; ++j) {
                const float y = LatticeCoordinate(j, resolution);
                double yPowers[kBallCount];
                for (int b = 0; b < kBallCount; ++b)
                    yPowers[b] = FourthPower(y - balls[b].y);
                alignas(64) double sum[kLanes];
                SumRow(zPowers, yPowers, xPowers, strengthPowers, sum);
                GridPoint *row = points + (static_cast<size_t>(i) * side + j) * side + k0;
                for (int lane = 0; lane < lanes; ++lane)
                    row[lane] = {x, y, zs[lane], static_cast<float>(sum[lane])};
            }
        }
    }
}
