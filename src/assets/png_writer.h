#pragma once

#include <cstdint>
#include <string>

// Writes 8-bit RGB (channels 3) or RGBA (channels 4) rows, top row first,
// each row channels * width bytes. False when the file cannot be written.
bool WritePng(const std::string &path, const uint8_t *pixels, int width, int height, int channels);
