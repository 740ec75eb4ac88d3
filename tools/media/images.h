#pragma once

#include "canvas.h"

#include <string>
#include <vector>

// One picture of the set and how it is stored.
struct MediaImage {
    std::string file; // name under data/
    Canvas canvas;
    bool png; // RGBA PNG; otherwise an opaque JPEG
};

// Every picture of the set, in a fixed order.
std::vector<MediaImage> MakeImages();

// The single pictures, for tests and the contact sheet.
Canvas MakeReflectionMap(const std::string &style);
Canvas MakeUglyPattern();
Canvas MakePortrait();
Canvas MakeGarbageQueen();
Canvas MakeFrame(const std::string &theme);
