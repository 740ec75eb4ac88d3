#pragma once

#include "assets/texture.h"

// A picture drawn over the viewport through a 10x10 lattice whose texture
// coordinates wobble with the phase.
class WarpImage {
  public:
    explicit WarpImage(const char *path);
    virtual ~WarpImage();
    WarpImage(const WarpImage &) = delete;
    WarpImage &operator=(const WarpImage &) = delete;

    void Draw(float x0, float y0, float x1, float y1, float phase);

    Texture texture;
    float *points = nullptr; // 100 (s, t) pairs, row-major
};

constexpr int kWarpLatticeSide = 10;

// Fills the 10x10 (s, t) lattice for `phase`: the regular steps of 1/9, each
// moved by up to 1/18 along a sine (s) and a cosine (t).
void ComputeWarpLattice(float *points, float phase);

// The lattice as textured quads between (x0, y0) and (x1, y1), in rows from
// point row 0, each row from column 0. Nothing is emitted for fewer than two
// rows or columns.
void DrawWarpGrid(const float *points, int cols, int rows, float x0, float y0, float x1, float y1);
