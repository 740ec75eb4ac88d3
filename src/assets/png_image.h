#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded PNG: 8-bit RGB, or RGBA where the file has alpha (an alpha
// channel or a transparency chunk). Rows from the top down, no gaps.
struct PngImage {
    int width = 0;
    int height = 0;
    int channels = 0; // 3 or 4
    int bitDepth = 0; // as stored in the file
    std::vector<uint8_t> pixels;
};

// Decodes any colour type, bit depth and interlacing. False, and nothing
// written to standard error, on a damaged file or one wider or taller than
// maxSide (checked before the pixels are allocated).
bool DecodePng(const uint8_t *data, size_t size, int maxSide, PngImage &image);

// Reads the whole file (at most kPngMaxFileBytes) and decodes it.
bool ReadPngFile(const char *path, int maxSide, PngImage &image);

constexpr size_t kPngMaxFileBytes = size_t{64} << 20;
