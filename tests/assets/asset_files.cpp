#include "assets/asset_files.h"

#include <cstddef>
#include <cstdio>
#include <filesystem>

#include "assets/jpeg_writer.h"
#include <png.h>

#include <gtest/gtest.h>

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "quillane-assets-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "cannot make a temporary directory";
    dir = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

bool WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

bool WriteJpeg(const std::string &path, const std::vector<uint8_t> &pixels, int width, int height,
               int components, int quality)
{
    if (pixels.size() != static_cast<size_t>(width) * height * components)
        return false;
    return WriteJpeg(path, pixels.data(), width, height, components, quality, true);
}

namespace {
void AppendToVector(png_structp png, png_bytep data, png_size_t length)
{
    auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}
} // namespace

std::vector<uint8_t> EncodePng(const PngLayout &layout)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const size_t stride = layout.height > 0 ? layout.rows.size() / static_cast<size_t>(layout.height) : 0;
    std::vector<png_bytep> rows(static_cast<size_t>(layout.height));
    for (size_t y = 0; y < rows.size(); ++y)
        rows[y] = const_cast<png_bytep>(layout.rows.data() + y * stride);
    // Built before setjmp: nothing with a destructor may be skipped by libpng's longjmp.
    std::vector<png_color> palette;
    for (size_t i = 0; i + 2 < layout.palette.size(); i += 3)
        palette.push_back({layout.palette[i], layout.palette[i + 1], layout.palette[i + 2]});
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_set_write_fn(png, &out, AppendToVector, NoFlush);
        png_set_compression_level(png, 9); // the densest files a decoder must still take
        png_set_IHDR(png, info, static_cast<png_uint_32>(layout.width),
                     static_cast<png_uint_32>(layout.height), layout.bitDepth, layout.colorType,
                     layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!palette.empty())
            png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
        if (!layout.paletteAlpha.empty())
            png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()),
                         nullptr);
        if (layout.transparentGrey >= 0) {
            png_color_16 grey{};
            grey.gray = static_cast<png_uint_16>(layout.transparentGrey);
            png_set_tRNS(png, info, nullptr, 0, &grey);
        }
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
    } else {
        ADD_FAILURE() << "libpng could not write the sample";
        out.clear();
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<uint8_t> EncodeRgbaPng(const std::vector<uint8_t> &rgba, int width, int height)
{
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colorType = PNG_COLOR_TYPE_RGBA;
    layout.rows = rgba;
    return EncodePng(layout);
}
