#include "assets/png_texture.h"

#include <GL/gl.h>

#include "assets/png_image.h"

uint32_t LoadPngTexture(const char *path, PngInfo *info, int wrap, int minFilter, int magFilter)
{
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    PngImage image;
    if (!ReadPngFile(path, maxSide, image))
        return 0;

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);

    // RGB rows of odd widths are not 4-byte multiples: upload byte-aligned
    // and give the caller back the alignment it had.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = image.channels == 4 ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), image.width, image.height, 0, format,
                 GL_UNSIGNED_BYTE, image.pixels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);

    if (info) {
        info->width = static_cast<uint32_t>(image.width);
        info->height = static_cast<uint32_t>(image.height);
        info->depth = static_cast<uint32_t>(image.bitDepth);
        info->alpha = image.channels == 4 ? 8 : 0;
    }
    return name;
}
