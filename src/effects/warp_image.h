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

// The lattice as textured quads between (x0, y0) and (x1, y1).
void DrawWarpGrid(const float *points, int cols, int rows, float x0, float y0, float x1, float y1);
