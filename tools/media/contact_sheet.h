#pragma once

#include "images.h"
#include "meshes.h"

#include <string>
#include <vector>

// One picture of every image (over a checkerboard where it is transparent)
// and every mesh (an orthographic, lit view), each with its file name.
Canvas MakeContactSheet(const std::vector<MediaImage> &images, const std::vector<MediaMesh> &meshes);
