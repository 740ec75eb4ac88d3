#pragma once

#include <cstdint>

// What the loader tells about the picture it bound.
struct PngInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t depth = 0; // bit depth as stored in the file
    uint32_t alpha = 0; // bits of alpha uploaded: 8 or 0
};

// Loads a PNG file into a new GL texture object, left bound to GL_TEXTURE_2D:
// no mipmaps, the given wrap mode and filters, the file's alpha kept (RGBA)
// where it has one, else RGB, top row first. Returns the texture name, or 0
// on any failure with no message and no texture object made.
uint32_t LoadPngTexture(const char *path, PngInfo *info, int wrap, int minFilter, int magFilter);
