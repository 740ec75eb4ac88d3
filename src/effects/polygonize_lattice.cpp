#include "effects/polygonize_lattice.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "effects/mc_tables.h"

#include "effects/vector_clones.h"

// The work is split so that nothing branches on the shape of the surface
// except the walk over the cells that it crosses:
//  1. one bit per lattice point (below the level or not), packed per row, and
//     from those the cells whose corners are not all on one side;
//  2. for each such cell all twelve edges interpolated at once in vector
//     lanes (the same operations as Interpolate, lane by lane), and up to five
//     triangles gathered from them and staged in columns, kept or overwritten
//     by the next cell according to the case's triangle count;
//  3. the normals of all staged triangles, many at a time, and the list.
// Every value is computed by the same float operations in the same order as
// the cell-by-cell path, so the triangles are identical.

namespace {

typedef float Floats4 __attribute__((vector_size(16)));
typedef float Floats8 __attribute__((vector_size(32)));
typedef float Floats16 __attribute__((vector_size(64)));
typedef int Ints16 __attribute__((vector_size(64)));
typedef uint8_t Bytes16 __attribute__((vector_size(16)));

// The staged triangles' vertex coordinates, one column each.
enum Column { kP0x, kP0y, kP0z, kP1x, kP1y, kP1z, kP2x, kP2y, kP2z, kColumns };

// Room for a whole vector written at the end of a column.
constexpr int kSlack = 16;

// out[l] = v[index[l]], the indices all within 0..15.
[[gnu::always_inline]] inline void Permute(const Floats16 &v, const Ints16 &index, Floats16 &out)
{
#if defined(__clang__)
    for (int lane = 0; lane < 16; ++lane)
        out[lane] = v[index[lane]];
#else
    out = __builtin_shuffle(v, index);
#endif
}

// Corners (k, k+1) of the rows at x and x+1 of one face of a cell, as bits
// 0-1 and 2-3 of the index, to their bits in the case index: corner 0 (x, k),
// 1 (x+1, k), 2 (x+1, k+1), 3 (x, k+1); the face one step up in y is the same
// shifted by four.
constexpr std::array<uint8_t, 16> kSpreadFace = [] {
    std::array<uint8_t, 16> spread{};
    for (int index = 0; index < 16; ++index)
        spread[index] = static_cast<uint8_t>((index & 1) | ((index >> 1) & 1) << 3 | ((index >> 2) & 1) << 1 |
                                             ((index >> 3) & 1) << 2);
    return spread;
}();

// Bit k set when point k of a row of `count` (at most 64) lies below the level.
// The bytes are 0 or 1; a multiply gathers eight of them into one byte.
uint64_t PackRow(const uint8_t *below, int count)
{
    uint64_t mask = 0;
    for (int word = 0; word * 8 < count; ++word) {
        uint64_t bytes;
        std::memcpy(&bytes, below + 8 * word, sizeof bytes);
        mask |= ((bytes * 0x0102040810204080u) >> 56) << (8 * word);
    }
    return count == 64 ? mask : mask & ((uint64_t{1} << count) - 1);
}

// Four columns a, b, c, d of 16 lanes to rows: rows[m] lane L holds
// (a, b, c, d)[4 L + m].
[[gnu::always_inline]] inline void Transpose4x4(const Floats16 &a, const Floats16 &b, const Floats16 &c,
                                                const Floats16 &d, Floats16 (&rows)[4])
{
    const Floats16 abLow =
        __builtin_shufflevector(a, b, 0, 16, 1, 17, 4, 20, 5, 21, 8, 24, 9, 25, 12, 28, 13, 29);
    const Floats16 abHigh =
        __builtin_shufflevector(a, b, 2, 18, 3, 19, 6, 22, 7, 23, 10, 26, 11, 27, 14, 30, 15, 31);
    const Floats16 cdLow =
        __builtin_shufflevector(c, d, 0, 16, 1, 17, 4, 20, 5, 21, 8, 24, 9, 25, 12, 28, 13, 29);
    const Floats16 cdHigh =
        __builtin_shufflevector(c, d, 2, 18, 3, 19, 6, 22, 7, 23, 10, 26, 11, 27, 14, 30, 15, 31);
    rows[0] = __builtin_shufflevector(abLow, cdLow, 0, 1, 16, 17, 4, 5, 20, 21, 8, 9, 24, 25, 12, 13, 28, 29);
    rows[1] =
        __builtin_shufflevector(abLow, cdLow, 2, 3, 18, 19, 6, 7, 22, 23, 10, 11, 26, 27, 14, 15, 30, 31);
    rows[2] =
        __builtin_shufflevector(abHigh, cdHigh, 0, 1, 16, 17, 4, 5, 20, 21, 8, 9, 24, 25, 12, 13, 28, 29);
    rows[3] =
        __builtin_shufflevector(abHigh, cdHigh, 2, 3, 18, 19, 6, 7, 22, 23, 10, 11, 26, 27, 14, 15, 30, 31);
}

// The pieces of 128-bit lane `Lane` of the transposed rows: triangles
// 4 Lane + m, three 4-float pieces each, twelve floats apart.
template <int Lane> [[gnu::always_inline]] inline void StorePieces(const Floats16 (&rows)[3][4], float *first)
{
    for (int m = 0; m < 4; ++m)
        for (int piece = 0; piece < 3; ++piece) {
            const Floats16 &r = rows[piece][m];
            const Floats4 chunk =
                __builtin_shufflevector(r, r, 4 * Lane, 4 * Lane + 1, 4 * Lane + 2, 4 * Lane + 3);
            std::memcpy(first + 12 * (4 * Lane + m) + 4 * piece, &chunk, sizeof chunk);
        }
}

// The staged triangles into the list, with normals as FaceNormal gives them:
// (P0 - P1) x (P0 - P2) over its length, (0, 0, 1) when the length is zero.
// Two passes, each simple enough to run many triangles side by side.
[[gnu::always_inline]] inline void WriteTriangles(float *const *columns, size_t count, IsoTriangle *out)
{
    const float *__restrict p0x = columns[kP0x];
    const float *__restrict p0y = columns[kP0y];
    const float *__restrict p0z = columns[kP0z];
    const float *__restrict p1x = columns[kP1x];
    const float *__restrict p1y = columns[kP1y];
    const float *__restrict p1z = columns[kP1z];
    const float *__restrict p2x = columns[kP2x];
    const float *__restrict p2y = columns[kP2y];
    const float *__restrict p2z = columns[kP2z];
    // Vertices: sixteen triangles at a time, columns turned into rows by 4x4
    // transposes within each 128-bit lane, written as 4-float pieces. The
    // third piece of a triangle spills zeros over its normal, which the
    // second pass writes.
    size_t t = 0;
    for (; t + 16 <= count; t += 16) {
        Floats16 c[kColumns];
        for (int k = 0; k < kColumns; ++k)
            std::memcpy(&c[k], columns[k] + t, sizeof c[k]);
        const Floats16 zero = {};
        Floats16 rows[3][4];
        Transpose4x4(c[kP0x], c[kP0y], c[kP0z], c[kP1x], rows[0]);
        Transpose4x4(c[kP1y], c[kP1z], c[kP2x], c[kP2y], rows[1]);
        Transpose4x4(c[kP2z], zero, zero, zero, rows[2]);
        float *first = &out[t].vertices[0].x;
        StorePieces<0>(rows, first);
        StorePieces<1>(rows, first);
        StorePieces<2>(rows, first);
        StorePieces<3>(rows, first);
    }
    for (; t < count; ++t) {
        out[t].vertices[0] = {p0x[t], p0y[t], p0z[t]};
        out[t].vertices[1] = {p1x[t], p1y[t], p1z[t]};
        out[t].vertices[2] = {p2x[t], p2y[t], p2z[t]};
    }
    for (t = 0; t < count; ++t) {
        const float ax = p0x[t] - p1x[t], ay = p0y[t] - p1y[t], az = p0z[t] - p1z[t];
        const float bx = p0x[t] - p2x[t], by = p0y[t] - p2y[t], bz = p0z[t] - p2z[t];
        const float nx = ay * bz - az * by;
        const float ny = az * bx - ax * bz;
        const float nz = ax * by - ay * bx;
        const float length = std::sqrt(nx * nx + ny * ny + nz * nz);
        const bool flat = !(length > 0.0f);
        // Divided unconditionally (by 1 when flat) so the loop has no branches.
        const float divisor = flat ? 1.0f : length;
        const float ux = nx / divisor;
        const float uy = ny / divisor;
        const float uz = nz / divisor;
        out[t].normal = {flat ? 0.0f : ux, flat ? 0.0f : uy, flat ? 1.0f : uz};
    }
}

} // namespace

QUILLANE_VECTOR_CLONES
int PolygonizeLattice(const GridPoint *points, int resolution, float isoLevel, TriangleList &triangles,
                      std::vector<float> &staging)
{
    const int n = resolution;
    const int side = n + 1;
    if (n < 1 || n > kMaxPackedResolution) {
        triangles.clear();
        return 0;
    }
    const size_t slab = static_cast<size_t>(side) * side;

    // Below-bytes of one slab of points (fixed i), with room to read a word past the end.
    uint8_t belowBytes[64 * 64 + 8] = {};
    uint64_t lower[64];
    uint64_t upper[64];
    auto maskSlab = [&](int i, uint64_t *masks) {
        const GridPoint *first = points + i * slab;
        // Sixteen points a time: compare whole points, keep the value lanes,
        // narrow to bytes.
        size_t p = 0;
        for (; p + 16 <= slab; p += 16) {
            Floats16 quarter[4];
            std::memcpy(quarter, first + p, sizeof quarter);
            const Ints16 below0 = quarter[0] < isoLevel;
            const Ints16 below1 = quarter[1] < isoLevel;
            const Ints16 below2 = quarter[2] < isoLevel;
            const Ints16 below3 = quarter[3] < isoLevel;
            const Ints16 low = __builtin_shufflevector(below0, below1, 3, 7, 11, 15, 19, 23, 27, 31, 3, 7, 11,
                                                       15, 19, 23, 27, 31);
            const Ints16 high = __builtin_shufflevector(below2, below3, 3, 7, 11, 15, 19, 23, 27, 31, 3, 7,
                                                        11, 15, 19, 23, 27, 31);
            const Ints16 all =
                __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7, 16, 17, 18, 19, 20, 21, 22, 23);
            const Bytes16 bytes = __builtin_convertvector(all & 1, Bytes16);
            std::memcpy(belowBytes + p, &bytes, sizeof bytes);
        }
        for (; p < slab; ++p)
            belowBytes[p] = first[p].value < isoLevel;
        for (int j = 0; j < side; ++j)
            masks[j] = PackRow(belowBytes + j * side, side);
    };

    size_t capacity = staging.size() / kColumns;
    // Held in locals: the float stores below cannot then be taken to change them.
    float *columns[kColumns];
    auto locateColumns = [&] {
        for (int c = 0; c < kColumns; ++c)
            columns[c] = staging.data() + c * capacity;
    };
    locateColumns();
    size_t staged = 0;

    // Lanes 0..11 hold edges 0..11. Corners come in pairs of neighbours in
    // memory: [P0 P3 P1 P2] and [P4 P7 P5 P6], four floats (x, y, z, value)
    // each, so corner c's coordinate q sits at 4 slot(c) + q.
    // Corner slots: 0->0, 1->2, 2->3, 3->1, 4->4, 5->6, 6->7, 7->5.
#define EDGE_LANES(q, s0, s1, s2, s3, s4, s5, s6, s7, s8, s9, s10, s11)                                      \
    4 * s0 + q, 4 * s1 + q, 4 * s2 + q, 4 * s3 + q, 4 * s4 + q, 4 * s5 + q, 4 * s6 + q, 4 * s7 + q,          \
        4 * s8 + q, 4 * s9 + q, 4 * s10 + q, 4 * s11 + q, q, q, q, q
#define FIRST_CORNERS(q) EDGE_LANES(q, 0, 2, 3, 1, 4, 6, 7, 5, 0, 2, 3, 1)
#define SECOND_CORNERS(q) EDGE_LANES(q, 2, 3, 1, 0, 6, 7, 5, 4, 4, 6, 7, 5)

    maskSlab(0, lower);
    const uint64_t cellBits = (uint64_t{1} << n) - 1;
    for (int i = 0; i < n; ++i) {
        maskSlab(i + 1, upper);
        for (int j = 0; j < n; ++j) {
            const uint64_t m00 = lower[j];     // points (i, j, *)
            const uint64_t m01 = lower[j + 1]; // (i, j+1, *)
            const uint64_t m10 = upper[j];     // (i+1, j, *)
            const uint64_t m11 = upper[j + 1]; // (i+1, j+1, *)
            const uint64_t all = m00 & m01 & m10 & m11;
            const uint64_t any = m00 | m01 | m10 | m11;
            // Cell k is crossed unless its corners at k and k+1 are all below or all not.
            uint64_t crossed = ~(all & (all >> 1)) & (any | (any >> 1)) & cellBits;
            const GridPoint *rowBase = points + (i * side + j) * static_cast<size_t>(side);
            while (crossed) {
                const int k = std::countr_zero(crossed);
                crossed &= crossed - 1;
                // Bits k and k+1 of each row mask, four at a time through a table.
                const int caseIndex = kSpreadFace[((m00 >> k) & 3) | ((m10 >> k) & 3) << 2] |
                                      kSpreadFace[((m01 >> k) & 3) | ((m11 >> k) & 3) << 2] << 4;

                const GridPoint *p0 = rowBase + k;
                Floats8 pair03, pair12, pair47, pair56;
                std::memcpy(&pair03, p0, sizeof pair03);
                std::memcpy(&pair12, p0 + slab, sizeof pair12);
                std::memcpy(&pair47, p0 + side, sizeof pair47);
                std::memcpy(&pair56, p0 + slab + side, sizeof pair56);
                const Floats16 low = __builtin_shufflevector(pair03, pair12, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10,
                                                             11, 12, 13, 14, 15);
                const Floats16 high = __builtin_shufflevector(pair47, pair56, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                                              10, 11, 12, 13, 14, 15);
                const Floats16 firstX = __builtin_shufflevector(low, high, FIRST_CORNERS(0));
                const Floats16 firstY = __builtin_shufflevector(low, high, FIRST_CORNERS(1));
                const Floats16 firstZ = __builtin_shufflevector(low, high, FIRST_CORNERS(2));
                const Floats16 firstValue = __builtin_shufflevector(low, high, FIRST_CORNERS(3));
                const Floats16 secondX = __builtin_shufflevector(low, high, SECOND_CORNERS(0));
                const Floats16 secondY = __builtin_shufflevector(low, high, SECOND_CORNERS(1));
                const Floats16 secondZ = __builtin_shufflevector(low, high, SECOND_CORNERS(2));
                const Floats16 secondValue = __builtin_shufflevector(low, high, SECOND_CORNERS(3));
                // As Interpolate: mu = (level - first) / (second - first), then
                // first + mu (second - first). Edges the case does not cross
                // may divide by zero here; their lanes are never used.
                const Floats16 mu = (isoLevel - firstValue) / (secondValue - firstValue);
                const Floats16 edgeX = firstX + mu * (secondX - firstX);
                const Floats16 edgeY = firstY + mu * (secondY - firstY);
                const Floats16 edgeZ = firstZ + mu * (secondZ - firstZ);

                // The row's edge numbers (ending in -1, taken modulo 16 and
                // unused) pick each triangle's vertices into lanes 0..4.
                Ints16 row;
                std::memcpy(&row, triTable[caseIndex], sizeof row);
                const Ints16 lanes = {15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15, 15};
                const Ints16 vertex0 =
                    __builtin_shufflevector(row, row, 0, 3, 6, 9, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0) &
                    lanes;
                const Ints16 vertex1 =
                    __builtin_shufflevector(row, row, 1, 4, 7, 10, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0) &
                    lanes;
                const Ints16 vertex2 =
                    __builtin_shufflevector(row, row, 2, 5, 8, 11, 14, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0) &
                    lanes;

                if (staged + kSlack > capacity) {
                    // Grows only until the largest surface has been seen.
                    const size_t grown = std::max<size_t>(2 * capacity, 4096);
                    std::vector<float> larger(grown * kColumns);
                    for (int c = 0; c < kColumns; ++c)
                        std::copy_n(columns[c], staged, larger.data() + c * grown);
                    staging.swap(larger);
                    capacity = grown;
                    locateColumns();
                }
                const Floats16 *edges[3] = {&edgeX, &edgeY, &edgeZ};
                const Ints16 *picks[3] = {&vertex0, &vertex1, &vertex2};
                for (int v = 0; v < 3; ++v)
                    for (int axis = 0; axis < 3; ++axis) {
                        Floats16 gathered;
                        Permute(*edges[axis], *picks[v], gathered);
                        std::memcpy(columns[3 * v + axis] + staged, &gathered, sizeof gathered);
                    }
                staged += kTriangleCount[caseIndex];
            }
        }
        std::swap(lower, upper);
    }
#undef FIRST_CORNERS
#undef SECOND_CORNERS
#undef EDGE_LANES

    // Every element is overwritten: resizing from the last frame's count
    // initialises only the few the list grows by.
    triangles.resize(staged);
    WriteTriangles(columns, staged, triangles.data());
    return static_cast<int>(staged);
}
