#pragma once

#include "effects/metaballs.h"

// Rewrites every point of an (n+1)^3 lattice with its position and the value
// of BallField there, many points at a time; the values are bit for bit those
// of calling BallField point by point.
void SampleBallFieldLattice(GridPoint *points, int resolution);

// The lattice coordinate of index `index` of `resolution` steps: 2 index / n - 1.
inline float LatticeCoordinate(int index, int resolution)
{
    return static_cast<float>(static_cast<double>(2 * index) / resolution - 1.0);
}
