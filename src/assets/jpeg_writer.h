#pragma once

#include <cstdint>
#include <string>

// Writes a baseline JPEG of 1 (grey), 3 (RGB) or 4 (CMYK) components per
// pixel, rows top first and tightly packed. fullChroma keeps every component
// at full resolution, so colour edges stay where the rows put them.
// False when the arguments make no picture or the file cannot be written.
bool WriteJpeg(const std::string &path, const uint8_t *pixels, int width, int height, int components,
               int quality, bool fullChroma = false);
