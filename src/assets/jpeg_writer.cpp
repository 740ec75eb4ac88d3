#include "assets/jpeg_writer.h"

#include <cstdio>

#include <jpeglib.h>

bool WriteJpeg(const std::string &path, const uint8_t *pixels, int width, int height, int components,
               int quality, bool fullChroma)
{
    if (!pixels || width <= 0 || height <= 0 || (components != 1 && components != 3 && components != 4))
        return false;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 3 ? JCS_RGB : components == 4 ? JCS_CMYK : JCS_GRAYSCALE;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.optimize_coding = TRUE;
    if (fullChroma) {
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
    }
    jpeg_start_compress(&info, TRUE);
    const size_t stride = static_cast<size_t>(width) * static_cast<size_t>(components);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels + size_t{info.next_scanline} * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}
