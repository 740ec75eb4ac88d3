#pragma once

#include <cstdint>
#include <string>

// Writes 8-bit RGB rows, top row first, as a baseline JPEG. False when the
// file cannot be written.
bool WriteJpeg(const std::string &path, const uint8_t *rgb, int width, int height, int quality);
