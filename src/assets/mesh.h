#pragma once

#include <cstdint>

// One object of a mesh. Arrays are tightly packed so they go to GL as they are.
class SubMesh {
  public:
    SubMesh(int vertexCount, int triangleCount);
    ~SubMesh();
    SubMesh(const SubMesh &) = delete;
    SubMesh &operator=(const SubMesh &) = delete;

    // Area-weighted unit vertex normals from positions and indices; no allocation.
    void ComputeNormals();

    int vertexCount = 0;
    int triangleCount = 0;
    float *positions = nullptr;  // 3 per vertex
    float *normals = nullptr;    // 3 per vertex
    float *texCoords = nullptr;  // 2 per vertex
    uint32_t *indices = nullptr; // 3 per triangle, each below vertexCount
};

// A model read from a .ebr file. A missing or damaged file is reported
// (caption: the path) and leaves the mesh with no objects.
class Mesh {
  public:
    explicit Mesh(const char *path);
    ~Mesh();
    Mesh(const Mesh &) = delete;
    Mesh &operator=(const Mesh &) = delete;

    void Draw();     // lit, textured triangles through client arrays
    void DrawWire(); // the index list read in pairs as line segments
    void RecomputeNormals();

    int objectCount = 0;
    SubMesh **objects = nullptr;
};
