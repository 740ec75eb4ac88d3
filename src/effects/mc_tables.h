#pragma once

// The marching-cubes tables for this corner numbering (offsets x, y, z):
// 0 (0,0,0), 1 (1,0,0), 2 (1,0,1), 3 (0,0,1), 4 (0,1,0), 5 (1,1,0),
// 6 (1,1,1), 7 (0,1,1). A case index has bit b set when corner b lies below
// the iso level.

// The corners each of the twelve edges runs from and to; edge e has bit 1 << e.
constexpr int kEdgeCorners[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                     {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};

extern const int edgeTable[256];
extern const int triTable[256][16];
