#include "effects/metaballs.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

#include "effects/ball_field.h"
#include "effects/mc_tables.h"

Metaballs metaballs(30, 1.0f, BallField);

Metaballs::Metaballs(int cellsPerAxis, float level, FieldFunction fieldFunction)
    : resolution(cellsPerAxis), isoLevel(level), field(fieldFunction)
{
    AllocateGrid();
    Sample();
    LinkCells();
}

Metaballs::~Metaballs()
{
    FreeGrid();
}

GridPoint &Metaballs::Point(int i, int j, int k)
{
    const size_t side = static_cast<size_t>(resolution) + 1;
    return points[(i * side + j) * side + k];
}

GridCell &Metaballs::Cell(int i, int j, int k)
{
    const size_t side = static_cast<size_t>(resolution);
    return cells[(i * side + j) * side + k];
}

void Metaballs::AllocateGrid()
{
    if (points || cells)
        FreeGrid();
    if (resolution < 1 || resolution > kMaxResolution)
        return;
    const size_t side = static_cast<size_t>(resolution);
    // Zeroed and linked at once, so no operation ever meets unset pointers.
    points = new (std::nothrow) GridPoint[(side + 1) * (side + 1) * (side + 1)]();
    cells = new (std::nothrow) GridCell[side * side * side]();
    if (!points || !cells) {
        FreeGrid();
        return;
    }
    LinkCells();
}

void Metaballs::FreeGrid()
{
    delete[] points;
    points = nullptr;
    delete[] cells;
    cells = nullptr;
}

void Metaballs::Sample()
{
    if (!points || !cells)
        return;
    const int n = resolution;
    if (field == BallField) {
        SampleBallFieldLattice(points, n);
        return;
    }
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            for (int k = 0; k <= n; ++k) {
                GridPoint &point = Point(i, j, k);
                point.x = LatticeCoordinate(i, n);
                point.y = LatticeCoordinate(j, n);
                point.z = LatticeCoordinate(k, n);
                point.value = field(point.x, point.y, point.z);
            }
        }
    }
}

void Metaballs::LinkCells()
{
    if (!points || !cells)
        return;
    const int n = resolution;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k) {
                GridPoint **corners = Cell(i, j, k).corners;
                corners[0] = &Point(i, j, k);
                corners[1] = &Point(i + 1, j, k);
                corners[2] = &Point(i + 1, j, k + 1);
                corners[3] = &Point(i, j, k + 1);
                corners[4] = &Point(i, j + 1, k);
                corners[5] = &Point(i + 1, j + 1, k);
                corners[6] = &Point(i + 1, j + 1, k + 1);
                corners[7] = &Point(i, j + 1, k + 1);
            }
        }
    }
}

namespace {

// Bit k set when point k of a lattice row lies below the iso level, with the
// same comparison as the case index (NaN and values equal to the level count
// as not below).
uint64_t BelowMask(const GridPoint *row, int count, float isoLevel)
{
    uint64_t mask = 0;
    for (int k = 0; k < count; ++k)
        mask |= static_cast<uint64_t>(row[k].value < isoLevel) << k;
    return mask;
}

} // namespace

int Metaballs::Polygonize()
{
    triangles.clear(); // keeps its storage: no allocation once the list has grown
    if (!points || !cells)
        return 0;
    const int n = resolution;
    const int side = n + 1;
    int count = 0;
    if (side > 64) {
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                for (int k = 0; k < n; ++k)
                    count += PolygonizeCell(Cell(i, j, k), isoLevel);
        return count;
    }

    // Most cells lie wholly on one side of the surface. Their corners' below
    // bits, packed per row of points, rule out whole rows of cells with a few
    // word operations; the rest go through PolygonizeCell in the same order.
    uint64_t lower[64];
    uint64_t upper[64];
    for (int j = 0; j < side; ++j)
        lower[j] = BelowMask(&Point(0, j, 0), side, isoLevel);
    const uint64_t cellBits = (uint64_t{1} << n) - 1;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < side; ++j)
            upper[j] = BelowMask(&Point(i + 1, j, 0), side, isoLevel);
        for (int j = 0; j < n; ++j) {
            const uint64_t all = lower[j] & lower[j + 1] & upper[j] & upper[j + 1];
            const uint64_t any = lower[j] | lower[j + 1] | upper[j] | upper[j + 1];
            // Cell k is mixed unless its corners at k and k + 1 are all below or all not.
            uint64_t mixed = ~(all & (all >> 1)) & (any | (any >> 1)) & cellBits;
            while (mixed) {
                const int k = std::countr_zero(mixed);
                mixed &= mixed - 1;
                count += PolygonizeCell(Cell(i, j, k), isoLevel);
            }
        }
        std::swap(lower, upper);
    }
    return count;
}

int Metaballs::PolygonizeCell(const GridCell &cell, float level)
{
    int caseIndex = 0;
    for (int b = 0; b < 8; ++b)
        if (cell.corners[b]->value < level)
            caseIndex |= 1 << b;
    const int mask = edgeTable[caseIndex];
    if (mask == 0)
        return 0;

    Vec3 vertex[12] = {};
    for (int e = 0; e < 12; ++e)
        if (mask & (1 << e))
            vertex[e] =
                Interpolate(level, *cell.corners[kEdgeCorners[e][0]], *cell.corners[kEdgeCorners[e][1]]);

    const int *row = triTable[caseIndex];
    int count = 0;
    // Every row ends in -1 by entry 15; the bound keeps a bad row from running on.
    for (int t = 0; t + 2 < 16 && row[t] != -1; t += 3) {
        IsoTriangle triangle{{vertex[row[t]], vertex[row[t + 1]], vertex[row[t + 2]]}, {}};
        FaceNormal(triangle);
        triangles.push_back(triangle);
        ++count;
    }
    return count;
}

Vec3 Metaballs::Interpolate(float level, const GridPoint &first, const GridPoint &second)
{
    const float mu = (level - first.value) / (second.value - first.value);
    return {first.x + mu * (second.x - first.x), first.y + mu * (second.y - first.y),
            first.z + mu * (second.z - first.z)};
}

void Metaballs::FaceNormal(IsoTriangle &triangle)
{
    const Vec3 &p0 = triangle.vertices[0];
    const Vec3 &p1 = triangle.vertices[1];
    const Vec3 &p2 = triangle.vertices[2];
    const Vec3 a{p0.x - p1.x, p0.y - p1.y, p0.z - p1.z};
    const Vec3 b{p0.x - p2.x, p0.y - p2.y, p0.z - p2.z};
    const Vec3 n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    // A zero-area triangle (the surface through lattice points) has no
    // direction of its own; facing the viewer keeps it lit plainly.
    if (!(length > 0.0f)) {
        triangle.normal = {0.0f, 0.0f, 1.0f};
        return;
    }
    triangle.normal = {n.x / length, n.y / length, n.z / length};
}
