#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

#include "effects/mc_tables.h"
#include "effects/metaballs.h"

namespace {

constexpr int kCornerOffsets[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1},
                                      {0, 1, 0}, {1, 1, 0}, {1, 1, 1}, {0, 1, 1}};

std::vector<int> RowEntries(int row)
{
    std::vector<int> entries;
    for (int e = 0; e < 16 && triTable[row][e] != -1; ++e)
        entries.push_back(triTable[row][e]);
    return entries;
}

TEST(MarchingCubesTables, EdgeTableFlagsTheEdgesWhoseCornersDiffer)
{
    for (int c = 0; c < 256; ++c) {
        int expected = 0;
        for (int e = 0; e < 12; ++e) {
            const bool first = c & (1 << kEdgeCorners[e][0]);
            const bool second = c & (1 << kEdgeCorners[e][1]);
            if (first != second)
                expected |= 1 << e;
        }
        EXPECT_EQ(edgeTable[c], expected) << "case " << c;
    }
    EXPECT_EQ(edgeTable[1], 0x109);
    EXPECT_EQ(edgeTable[2], 0x203);
    EXPECT_EQ(edgeTable[3], 0x30a);
    EXPECT_EQ(edgeTable[15], 0xf00);
    EXPECT_EQ(edgeTable[254], 0x109);
}

TEST(MarchingCubesTables, TriangleRowsEndInMinusOneAndUseExactlyTheFlaggedEdges)
{
    std::map<int, int> rowsWithTriangles;
    int total = 0;
    for (int c = 0; c < 256; ++c) {
        const std::vector<int> entries = RowEntries(c);
        ASSERT_LT(entries.size(), 16u) << "row " << c << " has no -1";
        for (size_t e = entries.size(); e < 16; ++e)
            EXPECT_EQ(triTable[c][e], -1) << "row " << c << " entry " << e;
        ASSERT_EQ(entries.size() % 3, 0u) << "row " << c;
        int used = 0;
        for (int edge : entries) {
            ASSERT_GE(edge, 0);
            ASSERT_LT(edge, 12);
            used |= 1 << edge;
        }
        EXPECT_EQ(used, edgeTable[c]) << "row " << c;
        ++rowsWithTriangles[static_cast<int>(entries.size() / 3)];
        total += static_cast<int>(entries.size() / 3);
    }
    EXPECT_EQ(total, 820);
    const std::map<int, int> expected{{0, 2}, {1, 16}, {2, 50}, {3, 80}, {4, 76}, {5, 32}};
    EXPECT_EQ(rowsWithTriangles, expected);
}

TEST(MarchingCubesTables, TellingRows)
{
    const std::map<int, std::vector<int>> rows{
        {0, {}},
        {1, {0, 8, 3}},
        {2, {0, 1, 9}},
        {3, {1, 8, 3, 9, 8, 1}},
        {7, {2, 8, 3, 2, 10, 8, 10, 9, 8}},
        {16, {4, 7, 8}},
        {64, {10, 6, 5}},
        {128, {7, 6, 11}},
        {254, {0, 3, 8}},
        {255, {}},
    };
    for (const auto &[row, entries] : rows)
        EXPECT_EQ(RowEntries(row), entries) << "row " << row;
}

// On a unit cell with the corners below the level at 0 and the others at 2,
// every triangle of every case faces the corners at or above the level: its
// normal has a positive share along the below-to-above direction of its edges.
TEST(MarchingCubesTables, EveryTriangleFacesIntoTheBlob)
{
    Metaballs cell(1, 1.0f, [](float, float, float) { return 2.0f; });
    ASSERT_NE(cell.cells, nullptr);
    for (int c = 1; c < 255; ++c) {
        for (int b = 0; b < 8; ++b)
            cell.Cell(0, 0, 0).corners[b]->value = (c & (1 << b)) ? 0.0f : 2.0f;
        ASSERT_EQ(cell.Polygonize(), static_cast<int>(RowEntries(c).size() / 3)) << "case " << c;
        const std::vector<int> entries = RowEntries(c);
        for (size_t t = 0; t < cell.triangles.size(); ++t) {
            std::array<float, 3> inward{};
            for (int v = 0; v < 3; ++v) {
                const int edge = entries[3 * t + v];
                int below = kEdgeCorners[edge][0];
                int above = kEdgeCorners[edge][1];
                if (!(c & (1 << below)))
                    std::swap(below, above);
                for (int axis = 0; axis < 3; ++axis)
                    inward[axis] +=
                        static_cast<float>(kCornerOffsets[above][axis] - kCornerOffsets[below][axis]);
            }
            const Vec3 &n = cell.triangles[t].normal;
            EXPECT_GT(n.x * inward[0] + n.y * inward[1] + n.z * inward[2], 0.0f)
                << "case " << c << " triangle " << t;
        }
    }
}

} // namespace
