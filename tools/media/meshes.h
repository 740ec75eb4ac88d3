#pragma once

#include "assets/ebr_writer.h"

#include <string>
#include <vector>

struct MediaMesh {
    std::string file; // name under data/
    EbrObject object; // each file holds one object
};

// Every mesh of the set, closed, wound counter-clockwise seen from outside.
std::vector<MediaMesh> MakeMeshes();

// Six times the signed volume enclosed by the triangles (positive when they face outwards).
double SignedVolume6(const EbrObject &object);
