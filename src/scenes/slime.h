#pragma once

#include <span>

#include "assets/geometry.h"
#include "assets/mesh.h"

// The twist the slime chases at parameter p: three angles in radians.
Vec3 SlimeTarget(float p);

// One frame of the slime: every vertex's angles close the fraction
// d / radius of their gap to the target (a first-order lag, time constant
// radius, in tenths of a second), then the rest position turned about X, Y
// and Z by them becomes the vertex. A frame as long as a vertex's lag or
// longer brings it to the target and no further, so a stall cannot make the
// angles swing. Works on the vertices that the rest shape, the mesh and both
// arrays all have.
void TwistSlime(const SubMesh &rest, SubMesh &mesh, std::span<const float> radius, std::span<Vec3> offset,
                Vec3 target, float d);
