// Writes a starting corpus: DIR/ebr holds small meshes, DIR/png pictures of
// every colour type and bit depth, interlaced and not.
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/ebr_writer.h"

namespace {
bool WriteFile(const std::filesystem::path &path, const std::vector<uint8_t> &bytes)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// A 5x3 picture whose samples count up, in the given colour type and depth.
bool WritePngSeed(const std::filesystem::path &path, int colorType, int bitDepth, bool interlaced,
                  bool withTrns)
{
    constexpr int kWidth = 5;
    constexpr int kHeight = 3;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_color> palette(256);
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = {static_cast<png_byte>(i * 16), static_cast<png_byte>(255 - i),
                      static_cast<png_byte>(i)};
    std::vector<png_byte> alphas(8, 100);
    std::vector<std::vector<png_byte>> rows(kHeight, std::vector<png_byte>(kWidth * 8));
    for (int y = 0; y < kHeight; ++y)
        for (size_t i = 0; i < rows[static_cast<size_t>(y)].size(); ++i)
            rows[static_cast<size_t>(y)][i] = static_cast<png_byte>((y * 7 + i) * (bitDepth < 8 ? 0x11 : 13));
    std::vector<png_bytep> rowPointers;
    for (auto &row : rows)
        rowPointers.push_back(row.data());
    png_color_16 transparent{};
    transparent.gray = 1;
    transparent.red = 2;
    bool ok = false;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, kWidth, kHeight, bitDepth, colorType,
                     interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        if (colorType == PNG_COLOR_TYPE_PALETTE)
            png_set_PLTE(png, info, palette.data(), 1 << bitDepth);
        if (withTrns)
            png_set_tRNS(png, info, alphas.data(), colorType == PNG_COLOR_TYPE_PALETTE ? 2 : 0, &transparent);
        png_write_info(png, info);
        png_write_image(png, rowPointers.data());
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}
} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir / "ebr");
    std::filesystem::create_directories(dir / "png");

    const EbrObject triangle{"tri", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 0, 1, 0, 0, 1}, {0, 1, 2}};
    const EbrObject quad{
        "", {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}, {0, 0, 1, 0, 1, 1, 0, 1}, {0, 1, 2, 0, 2, 3}};
    const EbrObject points{"points", {1, 2, 3, 4, 5, 6}, {0, 0, 1, 1}, {}};
    bool ok = WriteFile(dir / "ebr" / "empty.ebr", EncodeEbr({})) &&
              WriteFile(dir / "ebr" / "triangle.ebr", EncodeEbr({triangle})) &&
              WriteFile(dir / "ebr" / "three.ebr", EncodeEbr({quad, points, triangle}));

    struct Seed {
        const char *name;
        int colorType;
        int bitDepth;
        bool interlaced;
        bool trns;
    };
    const Seed seeds[] = {
        {"rgb8", PNG_COLOR_TYPE_RGB, 8, false, false},
        {"rgba8", PNG_COLOR_TYPE_RGBA, 8, false, false},
        {"rgba16i", PNG_COLOR_TYPE_RGBA, 16, true, false},
        {"rgb16trns", PNG_COLOR_TYPE_RGB, 16, false, true},
        {"pal2trns", PNG_COLOR_TYPE_PALETTE, 2, false, true},
        {"pal8i", PNG_COLOR_TYPE_PALETTE, 8, true, false},
        {"grey1", PNG_COLOR_TYPE_GRAY, 1, false, false},
        {"grey4trnsi", PNG_COLOR_TYPE_GRAY, 4, true, true},
        {"grey16", PNG_COLOR_TYPE_GRAY, 16, false, false},
        {"ga8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
        {"ga16i", PNG_COLOR_TYPE_GRAY_ALPHA, 16, true, false},
    };
    for (const Seed &seed : seeds)
        ok = WritePngSeed(dir / "png" / (std::string(seed.name) + ".png"), seed.colorType, seed.bitDepth,
                          seed.interlaced, seed.trns) &&
             ok;
    if (!ok)
        std::fprintf(stderr, "fuzz_seeds: could not write every seed under %s\n", argv[1]);
    return ok ? 0 : 1;
}
