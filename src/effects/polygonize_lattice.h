#pragma once

#include <vector>

#include "effects/metaballs.h"

// The largest resolution PolygonizeLattice takes: a row of points fits a 64-bit mask.
constexpr int kMaxPackedResolution = 63;

// Replaces the contents of `triangles` with the triangles of every cell of an (n+1)^3 lattice,
// n <= kMaxPackedResolution, in cell order (i, then j, then k), exactly as
// PolygonizeCell on each linked cell would give them; returns how many.
// `staging` is working space the caller keeps, so that once it has grown no
// call allocates.
int PolygonizeLattice(const GridPoint *points, int resolution, float isoLevel, TriangleList &triangles,
                      std::vector<float> &staging);
