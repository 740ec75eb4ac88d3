#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "ball_table_guard.h"
#include "effects/metaballs.h"

namespace {

uint32_t Bits(float value)
{
    return std::bit_cast<uint32_t>(value);
}

bool SameTriangles(const TriangleList &a, const TriangleList &b)
{
    static_assert(sizeof(IsoTriangle) == 12 * sizeof(float));
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(IsoTriangle)) == 0;
}

// Ball tables that exercise the field: the start-up one and a few moved ones.
void MoveBalls(int variant)
{
    BallTableGuard::LoadInitialTable();
    for (int b = 0; b < kBallCount; ++b) {
        const float phase = static_cast<float>(variant * 7 + b);
        balls[b].x = 0.5f * std::sin(phase);
        balls[b].y = 0.5f * std::cos(1.3f * phase);
        balls[b].z = 0.5f * std::sin(0.7f * phase + 1.0f);
    }
}

TEST(MetaballLattice, PositionsAndCornerLinks)
{
    Metaballs grid(30, 1.0f, BallField);
    ASSERT_NE(grid.points, nullptr);
    ASSERT_NE(grid.cells, nullptr);
    const GridPoint &centre = grid.Point(15, 15, 15);
    EXPECT_EQ(Bits(centre.x), Bits(0.0f));
    EXPECT_EQ(centre.y, 0.0f);
    EXPECT_EQ(centre.z, 0.0f);
    EXPECT_EQ(grid.Point(0, 0, 0).x, -1.0f);
    EXPECT_EQ(grid.Point(0, 0, 0).z, -1.0f);
    EXPECT_EQ(grid.Point(30, 30, 30).y, 1.0f);
    EXPECT_EQ(grid.Point(30, 30, 30).z, 1.0f);
    EXPECT_EQ(grid.Point(7, 0, 0).x, static_cast<float>(14.0 / 30 - 1.0));
    EXPECT_EQ(grid.Point(0, 7, 0).y, static_cast<float>(14.0 / 30 - 1.0));

    const GridCell &first = grid.Cell(0, 0, 0);
    const float step = static_cast<float>(2.0 / 30 - 1.0);
    EXPECT_EQ(first.corners[2]->x, step);
    EXPECT_EQ(first.corners[2]->y, -1.0f);
    EXPECT_EQ(first.corners[2]->z, step);
    EXPECT_EQ(first.corners[4]->x, -1.0f);
    EXPECT_EQ(first.corners[4]->y, step);
    EXPECT_EQ(first.corners[4]->z, -1.0f);

    const int offsets[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1},
                               {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}};
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j)
            for (int k = 0; k < 30; ++k)
                for (int c = 0; c < 8; ++c)
                    ASSERT_EQ(grid.Cell(i, j, k).corners[c],
                              &grid.Point(i + offsets[c][0], j + offsets[c][1], k + offsets[c][2]))
                        << i << " " << j << " " << k << " corner " << c;
}

TEST(MetaballLattice, AbsentArraysMakeEveryOperationANoOp)
{
    Metaballs grid(4, 1.0f, [](float x, float, float) { return x < 0.0f ? 0.0f : 2.0f; });
    ASSERT_GT(grid.Polygonize(), 0);
    grid.FreeGrid();
    EXPECT_EQ(grid.points, nullptr);
    EXPECT_EQ(grid.cells, nullptr);
    grid.FreeGrid();
    grid.Sample();
    grid.LinkCells();
    EXPECT_EQ(grid.Polygonize(), 0);
    EXPECT_TRUE(grid.triangles.empty());

    // Allocating again (twice: the second releases the first) gives a lattice
    // that is linked and samples as new.
    grid.AllocateGrid();
    grid.AllocateGrid();
    ASSERT_NE(grid.points, nullptr);
    grid.Sample();
    EXPECT_GT(grid.Polygonize(), 0);

    for (int bad : {0, -3, Metaballs::kMaxResolution + 1}) {
        Metaballs invalid(bad, 1.0f, BallField);
        EXPECT_EQ(invalid.points, nullptr) << bad;
        EXPECT_EQ(invalid.cells, nullptr) << bad;
        EXPECT_EQ(invalid.Polygonize(), 0) << bad;
    }
}

TEST(MetaballField, InitialTableGivesInfinityAtTheCentresAndNoTrianglesAroundThem)
{
    BallTableGuard guard;
    BallTableGuard::LoadInitialTable();
    Metaballs grid(30, 1.0f, BallField);
    EXPECT_EQ(grid.Point(15, 15, 15).value, std::numeric_limits<float>::infinity());
    EXPECT_EQ(grid.Point(15, 30, 15).value, std::numeric_limits<float>::infinity());
    EXPECT_EQ(grid.Point(15, 15, 30).value, std::numeric_limits<float>::infinity());
    for (int di = -1; di <= 1; ++di)
        for (int dj = -1; dj <= 1; ++dj)
            for (int dk = -1; dk <= 1; ++dk)
                EXPECT_GT(grid.Point(15 + di, 15 + dj, 15 + dk).value, 8.5f);
    for (int i = 14; i <= 15; ++i)
        for (int j = 14; j <= 15; ++j)
            for (int k = 14; k <= 15; ++k)
                EXPECT_EQ(grid.PolygonizeCell(grid.Cell(i, j, k), 1.0f), 0);
    EXPECT_GT(grid.Polygonize(), 0);
    for (const IsoTriangle &triangle : grid.triangles)
        for (const Vec3 &v : triangle.vertices)
            ASSERT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
}

// The lattice samples are exactly those of BallField called point by point,
// the sum over the balls in table order included.
TEST(MetaballField, SampledValuesMatchTheFieldBitForBit)
{
    BallTableGuard guard;
    for (int variant = 0; variant < 4; ++variant) {
        if (variant == 0)
            BallTableGuard::LoadInitialTable();
        else
            MoveBalls(variant);
        for (int n : {30, 7, 40, 64}) {
            Metaballs grid(n, 1.0f, BallField);
            for (int i = 0; i <= n; ++i)
                for (int j = 0; j <= n; ++j)
                    for (int k = 0; k <= n; ++k) {
                        const GridPoint &p = grid.Point(i, j, k);
                        ASSERT_EQ(Bits(p.x), Bits(static_cast<float>(2.0 * i / n - 1.0)));
                        ASSERT_EQ(Bits(p.z), Bits(static_cast<float>(2.0 * k / n - 1.0)));
                        ASSERT_EQ(Bits(p.value), Bits(BallField(p.x, p.y, p.z)))
                            << "variant " << variant << " n " << n << " at " << i << " " << j << " " << k;
                    }
        }
    }
}

// The denominator sums fourth powers: one ball alone is a rounded cube of
// half-width s, reaching 1.0 at distance s along the axes, further out than a
// sphere towards the diagonals.
TEST(MetaballField, OneBallAloneIsARoundedCube)
{
    BallTableGuard guard;
    BallTableGuard::LoadInitialTable();
    for (int b = 0; b < kBallCount; ++b)
        if (b != 2)
            balls[b] = {0.0f, 50.0f, 50.0f, 50.0f};
    EXPECT_NEAR(BallField(0.0f, 0.0f, 0.7f), 1.0f, 1e-5f);
    EXPECT_NEAR(BallField(0.3f, 0.0f, 1.0f), 1.0f, 1e-5f);
    EXPECT_NEAR(BallField(0.0f, -0.3f, 1.0f), 1.0f, 1e-5f);
    const float diagonal = 0.3f / std::pow(3.0f, 0.25f);
    EXPECT_NEAR(BallField(diagonal, diagonal, 1.0f - diagonal), 1.0f, 1e-4f);

    Metaballs grid(30, 1.0f, BallField);
    ASSERT_GT(grid.Polygonize(), 0);
    float farthest = 0.0f;
    for (const IsoTriangle &triangle : grid.triangles)
        for (const Vec3 &v : triangle.vertices) {
            const float dz = v.z - 1.0f;
            const float superRadius =
                std::pow(std::pow(v.x, 4.0f) + std::pow(v.y, 4.0f) + std::pow(dz, 4.0f), 0.25f);
            EXPECT_NEAR(superRadius, 0.3f, 0.02f);
            farthest = std::max(farthest, std::sqrt(v.x * v.x + v.y * v.y + dz * dz));
        }
    EXPECT_GT(farthest, 0.36f); // a sphere would stop at 0.3
}

TEST(MetaballField, OtherFieldsAreSampledPointByPoint)
{
    Metaballs grid(6, 0.5f, [](float x, float y, float z) { return x + 2.0f * y + 4.0f * z; });
    EXPECT_EQ(grid.Point(6, 0, 3).value, 1.0f - 2.0f + 0.0f);
    EXPECT_EQ(grid.Point(0, 6, 6).value, -1.0f + 2.0f + 4.0f);
}

TEST(MetaballPolygonizer, CaseOneOnAUnitCell)
{
    Metaballs cell(1, 1.0f, [](float, float, float) { return 2.0f; });
    GridCell &c = cell.Cell(0, 0, 0);
    // Corner positions of a unit cell at the origin.
    const float offsets[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1},
                                 {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}};
    for (int b = 0; b < 8; ++b)
        *c.corners[b] = {offsets[b][0], offsets[b][1], offsets[b][2], 2.0f};
    c.corners[0]->value = 0.0f;

    ASSERT_EQ(cell.PolygonizeCell(c, 1.0f), 1);
    const IsoTriangle &t = cell.triangles[0];
    const float expected[3][3] = {{0.5f, 0, 0}, {0, 0.5f, 0}, {0, 0, 0.5f}};
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(t.vertices[v].x, expected[v][0]) << v;
        EXPECT_EQ(t.vertices[v].y, expected[v][1]) << v;
        EXPECT_EQ(t.vertices[v].z, expected[v][2]) << v;
    }
    const float third = 1.0f / std::sqrt(3.0f);
    EXPECT_NEAR(t.normal.x, third, 1e-6f);
    EXPECT_NEAR(t.normal.y, third, 1e-6f);
    EXPECT_NEAR(t.normal.z, third, 1e-6f);

    // A value equal to the level is not below it; all on one side gives nothing.
    c.corners[0]->value = 1.0f;
    EXPECT_EQ(cell.PolygonizeCell(c, 1.0f), 0);
    for (int b = 0; b < 8; ++b)
        c.corners[b]->value = 0.5f;
    EXPECT_EQ(cell.PolygonizeCell(c, 1.0f), 0);
    EXPECT_EQ(cell.triangles.size(), 1u);
}

TEST(MetaballPolygonizer, ZeroAreaTrianglesGetAUnitNormal)
{
    IsoTriangle point{{{0.2f, 0.3f, 0.4f}, {0.2f, 0.3f, 0.4f}, {0.2f, 0.3f, 0.4f}}, {}};
    Metaballs::FaceNormal(point);
    EXPECT_EQ(point.normal.x, 0.0f);
    EXPECT_EQ(point.normal.y, 0.0f);
    EXPECT_EQ(point.normal.z, 1.0f);
    IsoTriangle line{{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {}};
    Metaballs::FaceNormal(line);
    EXPECT_EQ(line.normal.z, 1.0f);

    // The surface through lattice points: corners exactly at the level make
    // triangles collapse, in every case; none may carry a NaN normal.
    Metaballs cell(1, 1.0f, [](float, float, float) { return 1.0f; });
    int degenerate = 0;
    for (int c = 0; c < 256; ++c) {
        for (int b = 0; b < 8; ++b)
            cell.Cell(0, 0, 0).corners[b]->value = (c & (1 << b)) ? 0.0f : 1.0f;
        cell.Polygonize();
        for (const IsoTriangle &t : cell.triangles) {
            const Vec3 &n = t.normal;
            ASSERT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0f, 1e-5f) << "case " << c;
            degenerate += n.x == 0.0f && n.y == 0.0f && n.z == 1.0f;
        }
    }
    EXPECT_GT(degenerate, 0);
}

// Skipping the cells that lie wholly on one side must not change a thing:
// the whole-lattice pass equals PolygonizeCell over every cell in order.
TEST(MetaballPolygonizer, WholeLatticeEqualsEveryCellInOrder)
{
    BallTableGuard guard;
    for (int variant = 0; variant < 5; ++variant) {
        if (variant == 0)
            BallTableGuard::LoadInitialTable();
        else
            MoveBalls(variant);
        for (int n : {30, 9, 63, 70}) {
            Metaballs grid(n, 1.0f, BallField);
            const int count = grid.Polygonize();
            ASSERT_EQ(count, static_cast<int>(grid.triangles.size()));
            const TriangleList fast = grid.triangles;
            grid.triangles.clear();
            int cellByCell = 0;
            for (int i = 0; i < n; ++i)
                for (int j = 0; j < n; ++j)
                    for (int k = 0; k < n; ++k)
                        cellByCell += grid.PolygonizeCell(grid.Cell(i, j, k), grid.isoLevel);
            EXPECT_EQ(cellByCell, count);
            EXPECT_TRUE(SameTriangles(fast, grid.triangles)) << "variant " << variant << " n " << n;
            EXPECT_GT(count, 0);
        }
    }
}

TEST(MetaballPolygonizer, ASecondPassReplacesTheFirst)
{
    BallTableGuard guard;
    MoveBalls(1);
    Metaballs grid(30, 1.0f, BallField);
    const int first = grid.Polygonize();
    const TriangleList firstTriangles = grid.triangles;
    MoveBalls(2);
    grid.Sample();
    const int second = grid.Polygonize();
    EXPECT_EQ(second, static_cast<int>(grid.triangles.size()));
    EXPECT_NE(first, second);
    Metaballs fresh(30, 1.0f, BallField);
    fresh.Polygonize();
    EXPECT_TRUE(SameTriangles(grid.triangles, fresh.triangles));
    EXPECT_FALSE(SameTriangles(grid.triangles, firstTriangles));
}

} // namespace
