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

class Metaballs {
  public:
    Metaballs(int resolution, float isoLevel, FieldFunction field);
    ~Metaballs();
    Metaballs(const Metaballs &) = delete;
    Metaballs &operator=(const Metaballs &) = delete;

    void AllocateGrid();
    void FreeGrid();
    void Sample();
    void LinkCells();

    int Polygonize();
    int PolygonizeCell(const GridCell &cell, float isoLevel);
    static Vec3 Interpolate(float isoLevel, const GridPoint &first, const GridPoint &second);
    static void FaceNormal(IsoTriangle &triangle);

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
