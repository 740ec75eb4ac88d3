#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh directory for one test's files, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    std::string Path(const std::string &name) const { return dir + "/" + name; }

  private:
    std::string dir;
};

bool WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);

// Baseline JPEG, every component at full resolution (no chroma subsampling)
// so that colour edges stay where the rows put them. components: 1 (grey),
// 3 (RGB) or 4 (CMYK).
bool WriteJpeg(const std::string &path, const std::vector<uint8_t> &pixels, int width, int height,
               int components, int quality = 95);

// A PNG exactly as described: rows are raw samples of the given colour type and
// bit depth (packed, big-endian 16-bit), top row first.
struct PngLayout {
    int width = 0;
    int height = 0;
    int colorType = 0; // PNG_COLOR_TYPE_*
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<uint8_t> rows;
    std::vector<uint8_t> palette;      // r, g, b per entry
    std::vector<uint8_t> paletteAlpha; // tRNS for palette files
    int transparentGrey = -1;          // tRNS for grey files
};
std::vector<uint8_t> EncodePng(const PngLayout &layout);

// An 8-bit RGBA PNG from rows of r, g, b, a.
std::vector<uint8_t> EncodeRgbaPng(const std::vector<uint8_t> &rgba, int width, int height);
