#include "assets/png_image.h"

#include <png.h>

#include <cstdio>
#include <cstring>

namespace {
constexpr size_t kMaxDeflateRatio = 1100;

struct ByteSource {
    const uint8_t *data;
    size_t size;
    size_t offset;
};

void ReadFromBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto *source = static_cast<ByteSource *>(png_get_io_ptr(png));
    if (length > source->size - source->offset)
        png_error(png, "read past the end");
    std::memcpy(out, source->data + source->offset, length);
    source->offset += length;
}

// A failed texture is silent: errors end the decode, warnings are dropped.
void SilentError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void SilentWarning(png_structp, png_const_charp) {}

// Everything that libpng may leave through longjmp lives outside this frame:
// it touches only the library's records and the caller's objects.
bool DecodeWithLibpng(png_structp png, png_infop info, size_t fileSize, int maxSide, PngImage *image,
                      std::vector<png_bytep> *rows)
{
    if (setjmp(png_jmpbuf(png)) != 0)
        return false;

    png_set_user_limits(png, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
    png_read_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    image->bitDepth = png_get_bit_depth(png, info);
    // Deflate packs at most about 1032 bytes into one, so a file too small to
    // hold the rows it claims (one filter byte each) is damaged: refuse it
    // before anything is allocated for them.
    const size_t storedBytes = (png_get_rowbytes(png, info) + 1) * size_t{height};
    if (storedBytes / kMaxDeflateRatio > fileSize)
        return false;

    // Palette to RGB, grey below 8 bits to 8, a transparency chunk to alpha,
    // 16 bits down to 8, grey to RGB: every file ends as RGB or RGBA.
    png_set_expand(png);
    png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || png_get_bit_depth(png, info) != 8 || width == 0 || height == 0)
        return false;
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(channels);
    if (png_get_rowbytes(png, info) != stride)
        return false;

    image->pixels.resize(stride * height);
    rows->resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        (*rows)[y] = image->pixels.data() + y * stride;
    png_read_image(png, rows->data());
    png_read_end(png, nullptr);

    image->width = static_cast<int>(width);
    image->height = static_cast<int>(height);
    image->channels = channels;
    return true;
}
} // namespace

bool DecodePng(const uint8_t *data, size_t size, int maxSide, PngImage &image)
{
    image = PngImage{};
    if (!data || size < 8 || maxSide <= 0 || png_sig_cmp(data, 0, 8) != 0)
        return false;

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!png)
        return false;
    png_infop info = png_create_info_struct(png);
    ByteSource source{data, size, 0};
    std::vector<png_bytep> rows;
    bool decoded = false;
    if (info) {
        png_set_read_fn(png, &source, ReadFromBytes);
        decoded = DecodeWithLibpng(png, info, size, maxSide, &image, &rows);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    if (!decoded)
        image = PngImage{};
    return decoded;
}

bool ReadPngFile(const char *path, int maxSide, PngImage &image)
{
    image = PngImage{};
    std::FILE *file = std::fopen(path, "rb");
    if (!file)
        return false;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0 && bytes.size() <= kPngMaxFileBytes)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool readAll = std::ferror(file) == 0 && bytes.size() <= kPngMaxFileBytes;
    std::fclose(file);
    return readAll && DecodePng(bytes.data(), bytes.size(), maxSide, image);
}
