#pragma once

#include <cstdint>
#include <vector>

// The power of two GLU picks for a side: the nearest in the sense of
// rounding up from one and a half times the power below (47 -> 32, 48 -> 64).
int NearestPowerOfTwo(int value);

// Resamples packed 8-bit pixels by area averaging, each side on its own.
std::vector<uint8_t> ScaleImage(const uint8_t *pixels, int width, int height, int components, int newWidth,
                                int newHeight);
