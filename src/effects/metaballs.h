#pragma once

#include <cstdint>
#include <vector>

#include "assets/geometry.h"

struct Metaball {
    float strength;
    float x;
    float y;
    float z;
};

constexpr int kBallCount = 10;
extern Metaball balls[kBallCount];

using FieldFunction = float (*)(float x, float y, float z);

// Sum over the balls of strength^4 / (dx^4 + dy^4 + dz^4), in double; a
// point at a ball's centre gives +infinity (never a trap).
float BallField(float x, float y, float z);

struct GridPoint {
    float x;
    float y;
    float z;
    float value;
};

struct GridCell {
    GridPoint *corners[8];
};

struct IsoTriangle {
    Vec3 vertices[3];
    Vec3 normal;
};

// The triangles of the last polygonisation, in cell order.
using TriangleList = std::vector<IsoTriangle>;

// A regular lattice over the cube -1..1 on which a field is sampled and
// polygonised by marching cubes. Resolutions outside 1..kMaxResolution, or a
// lattice that cannot be allocated, leave both arrays absent: every operation
// then does nothing.
class Metaballs {
  public:
    static constexpr int kMaxResolution = 128;

    Metaballs(int resolution, float isoLevel, FieldFunction field);
    ~Metaballs();
    Metaballs(const Metaballs &) = delete;
    Metaballs &operator=(const Metaballs &) = delete;

    void AllocateGrid();
    void FreeGrid();
    void Sample();
    void LinkCells();

    // Rebuilds `triangles` in cell order (i, then j, then k); returns their count.
    int Polygonize();
    // Appends the cell's triangles in the order of its table row; returns how many.
    int PolygonizeCell(const GridCell &cell, float isoLevel);
    static Vec3 Interpolate(float isoLevel, const GridPoint &first, const GridPoint &second);
    // The unit normal (P0 - P1) x (P0 - P2); a zero-area triangle gets (0, 0, 1).
    static void FaceNormal(IsoTriangle &triangle);

    // The triangles' vertices as one GL_LINES stream, coloured by their squared
    // distance from the centre, one normal per triangle.
    void Draw();

    // points[i][j][k] at ((i * (n+1)) + j) * (n+1) + k; cells likewise with n.
    GridPoint &Point(int i, int j, int k);
    GridCell &Cell(int i, int j, int k);

    int resolution;
    float isoLevel;
    GridPoint *points = nullptr;
    GridCell *cells = nullptr;
    FieldFunction field;
    TriangleList triangles;
};

// The one metaball object: resolution 30, iso level 1, BallField.
extern Metaballs metaballs;

// One frame of the effect: sample, polygonise, then move the balls to time t.
void AnimateBalls(float t);

// Clears, sets the effect's few states and draws the current triangles.
void DrawMetaballs();
