#pragma once

#include <cstdint>

struct jpeg_decompress_struct;

// A decoded JPEG picture: rows from the top down, each row left to right,
// components in the decoder's order (R, G, B for colour files), no gaps.
struct Image {
    int stride = 0; // bytes per row: width * components
    int width = 0;
    int height = 0;
    uint8_t *pixels = nullptr; // height * stride bytes, owned by the Image

    Image() = default;
    ~Image();
    Image(const Image &) = delete;
    Image &operator=(const Image &) = delete;
};

// The largest width or height LoadJPG decodes when the caller names no limit
// (the usual GL_MAX_TEXTURE_SIZE of today's drivers).
constexpr int kJpegDefaultMaxSide = 16384;

// Decodes the file, or shows "Unable to load JPG File!" (caption: the path)
// and returns null when it cannot be opened. A picture wider or taller than
// maxSide is reported the same way and not decoded, so a lying header cannot
// make it allocate gigabytes. A fatal decoding error ends the process with
// status 1 and the library's message on standard error.
Image *LoadJPG(const char *path, int maxSide = kJpegDefaultMaxSide);

// Runs the decoder on a record that has its error manager and source. A
// picture over maxSide on either side is left undecoded: the image keeps its
// size from the header but gets no pixels, and the result is false.
bool ReadJPEG(jpeg_decompress_struct *info, Image *image, int maxSide = kJpegDefaultMaxSide);
