#include "assets/jpeg.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <memory>

#include "platform/message.h"

Image::~Image()
{
    delete[] pixels;
}

bool ReadJPEG(jpeg_decompress_struct *info, Image *image, int maxSide)
{
    jpeg_read_header(info, TRUE);
    // Checked before the decoder or we allocate anything for the picture.
    if (info->image_width > static_cast<JDIMENSION>(maxSide) ||
        info->image_height > static_cast<JDIMENSION>(maxSide)) {
        image->width = static_cast<int>(info->image_width);
        image->height = static_cast<int>(info->image_height);
        jpeg_abort_decompress(info);
        return false;
    }
    jpeg_start_decompress(info);

    image->width = static_cast<int>(info->output_width);
    image->height = static_cast<int>(info->output_height);
    image->stride = info->output_components * image->width;
    const size_t stride = static_cast<size_t>(image->stride);
    image->pixels = new uint8_t[stride * static_cast<size_t>(image->height)];

    // The decoder writes each row straight into its place in the picture.
    std::unique_ptr<JSAMPROW[]> rows(new JSAMPROW[static_cast<size_t>(image->height)]);
    for (int i = 0; i < image->height; ++i)
        rows[static_cast<size_t>(i)] = image->pixels + static_cast<size_t>(i) * stride;

    JDIMENSION rowsRead = 0;
    while (info->output_scanline < info->output_height)
        rowsRead += jpeg_read_scanlines(info, rows.get() + rowsRead, info->output_height - rowsRead);
    rows.reset();

    return jpeg_finish_decompress(info) == TRUE;
}

Image *LoadJPG(const char *path, int maxSide)
{
    std::FILE *file = std::fopen(path, "rb");
    if (!file) {
        ShowMessage("Unable to load JPG File!", path);
        return nullptr;
    }

    // The library's standard error manager: a fatal error prints its message
    // and ends the process with status 1.
    jpeg_decompress_struct info;
    jpeg_error_mgr errorManager;
    info.err = jpeg_std_error(&errorManager);
    jpeg_CreateDecompress(&info, JPEG_LIB_VERSION, sizeof(jpeg_decompress_struct));
    jpeg_stdio_src(&info, file);

    Image *image = new Image;
    ReadJPEG(&info, image, maxSide);

    jpeg_destroy_decompress(&info);
    std::fclose(file);

    if (!image->pixels) {
        ShowMessage("JPG File is too large!", path);
        delete image;
        return nullptr;
    }
    return image;
}
