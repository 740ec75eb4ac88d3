#include "effects/ball_field.h"

#include <algorithm>
#include <cstring>

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

#include "effects/vector_clones.h"

namespace {

// Points of one lattice row (fixed i and j) evaluated together.
constexpr int kLanes = 32;

typedef float Floats4 __attribute__((vector_size(16)));
typedef float Floats8 __attribute__((vector_size(32)));
typedef float Floats16 __attribute__((vector_size(64)));

// Writes points (x, y, zs[l], values[l]) four at a time as whole vectors
// rather than float by float.
[[gnu::always_inline]] inline void StoreRow(GridPoint *row, int count, float x, float y, const float *zs,
                                            const float *values)
{
    const Floats8 xy = {x, y, x, y, x, y, x, y};
    int lane = 0;
    for (; lane + 4 <= count; lane += 4) {
        Floats4 z;
        Floats4 v;
        std::memcpy(&z, zs + lane, sizeof z);
        std::memcpy(&v, values + lane, sizeof v);
        const Floats8 zv = __builtin_shufflevector(z, v, 0, 4, 1, 5, 2, 6, 3, 7);
        const Floats16 four =
            __builtin_shufflevector(xy, zv, 0, 1, 8, 9, 2, 3, 10, 11, 4, 5, 12, 13, 6, 7, 14, 15);
        std::memcpy(row + lane, &four, sizeof four);
    }
    for (; lane < count; ++lane)
        row[lane] = {x, y, zs[lane], values[lane]};
}

} // namespace

// Every lane sums its quotients in ball order, as BallField does, so the
// values are identical; only independent points run side by side. The fourth
// powers of the axis differences come from small tables, since each depends
// on one lattice index only.
QUILLANE_VECTOR_CLONES
void SampleBallFieldLattice(GridPoint *points, int resolution)
{
    constexpr int kMaxSide = Metaballs::kMaxResolution + 1;
    const int side = resolution + 1;
    if (resolution < 1 || side > kMaxSide)
        return;
    double strengthPowers[kBallCount];
    for (int b = 0; b < kBallCount; ++b)
        strengthPowers[b] = FourthPower(balls[b].strength);
    float coordinates[kMaxSide];
    for (int index = 0; index < side; ++index)
        coordinates[index] = LatticeCoordinate(index, resolution);
    // The y differences depend on j alone: worked out once, not per row.
    double yPowers[kMaxSide][kBallCount];
    for (int j = 0; j < side; ++j)
        for (int b = 0; b < kBallCount; ++b)
            yPowers[j][b] = FourthPower(coordinates[j] - balls[b].y);

    for (int k0 = 0; k0 < side; k0 += kLanes) {
        const int lanes = std::min(kLanes, side - k0);
        alignas(64) double zPowers[kBallCount][kLanes];
        alignas(16) float zs[kLanes];
        for (int lane = 0; lane < kLanes; ++lane)
            zs[lane] = lane < lanes ? coordinates[k0 + lane] : 0.0f;
        for (int b = 0; b < kBallCount; ++b)
            for (int lane = 0; lane < kLanes; ++lane)
                zPowers[b][lane] = lane < lanes ? FourthPower(zs[lane] - balls[b].z) : 1.0;

        for (int i = 0; i < side; ++i) {
            const float x = coordinates[i];
            double xPowers[kBallCount];
            for (int b = 0; b < kBallCount; ++b)
                xPowers[b] = FourthPower(x - balls[b].x);
            for (int j = 0; j < side; ++j) {
                const double *rowYPowers = yPowers[j];
                alignas(64) float values[kLanes];
                for (int lane = 0; lane < kLanes; ++lane) {
                    double sum = 0.0;
#pragma GCC unroll 10
                    for (int b = 0; b < kBallCount; ++b)
                        sum += strengthPowers[b] / (zPowers[b][lane] + rowYPowers[b] + xPowers[b]);
                    values[lane] = static_cast<float>(sum);
                }
                GridPoint *row = points + (static_cast<size_t>(i) * side + j) * side + k0;
                StoreRow(row, lanes, x, coordinates[j], zs, values);
            }
        }
    }
}
