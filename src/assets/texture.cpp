#include "assets/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>
#include <algorithm>
#include <memory>
#include <vector>

#include "assets/image_scale.h"
#include "assets/jpeg.h"
#include "assets/png_texture.h"
#include "platform/message.h"

namespace {
// The type text is everything after the first '.' of the whole path; only a
// type of "png" in any capitals means PNG. A path with no '.' is a JPEG.
bool IsPngPath(const char *path)
{
    const char *dot = std::strchr(path, '.');
    if (!dot)
        return false;
    const char *type = dot + 1;
    const char *png = "png";
    for (int i = 0; i < 3; ++i) {
        const char c = type[i];
        const char lower = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != png[i])
            return false;
    }
    return type[3] == '\0';
}

GLint MaxTextureSide()
{
    GLint maxSide = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
    return maxSide;
}
} // namespace

Texture::Texture(const char *path)
{
    loaded = false;
    Load(path);
}

Texture::~Texture()
{
    if (name != 0)
        glDeleteTextures(1, &name);
}

void Texture::Load(const char *path)
{
    loaded = true;
    // Loading again replaces the picture; the old texture object goes.
    if (name != 0)
        glDeleteTextures(1, &name);
    name = 0;
    width = 0;
    height = 0;

    if (IsPngPath(path)) {
        PngInfo info;
        name = LoadPngTexture(path, &info, GL_REPEAT, GL_LINEAR, GL_LINEAR);
        if (name != 0) {
            width = static_cast<int>(info.width);
            height = static_cast<int>(info.height);
        }
        return;
    }

    // A JPEG that did not load leaves the texture empty and the GL untouched.
    std::unique_ptr<Image> image(LoadJPG(path, MaxTextureSide()));
    if (!image)
        return;
    const int components = image->width > 0 ? image->stride / image->width : 0;
    if (components != 3 && components != 1) {
        ShowMessage("JPG File has an unsupported colour format!", path);
        return;
    }

    // GLU would scale to these sizes itself, but its scaler blacks out the
    // last row when only the width changes; we scale, GLU only builds levels.
    int uploadWidth = NearestPowerOfTwo(image->width);
    int uploadHeight = NearestPowerOfTwo(image->height);
    std::vector<uint8_t> scaled;
    const uint8_t *upload = image->pixels;
    if (uploadWidth != image->width || uploadHeight != image->height) {
        uploadWidth = std::min(uploadWidth, MaxTextureSide());
        uploadHeight = std::min(uploadHeight, MaxTextureSide());
        scaled =
            ScaleImage(image->pixels, image->width, image->height, components, uploadWidth, uploadHeight);
        upload = scaled.data();
    }

    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    // Rows are packed at width * components bytes, which need not be a
    // multiple of 4: upload byte-aligned, then give back the caller's alignment.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const GLenum format = components == 3 ? GL_RGB : GL_LUMINANCE;
    const GLint built =
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, uploadWidth, uploadHeight, format, GL_UNSIGNED_BYTE, upload);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    if (built != 0) {
        glDeleteTextures(1, &name);
        name = 0;
        return;
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    width = image->width;
    height = image->height;
}

void Texture::SetClamp()
{
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
}

void Texture::SetRepeat()
{
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void Texture::Bind()
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
}

void Texture::Unbind()
{
    glDisable(GL_TEXTURE_2D);
}

void Texture::BeginBlend()
{
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Texture::EndBlend()
{
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void Texture::DrawBillboard(float x, float y, float z)
{
    glPushMatrix();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glTranslatef(x, y, z);
    glDisable(GL_LIGHTING);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    // The picture's first row (t = 0) at the top, counter-clockwise from +z.
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-150.0f, -150.0f, -100.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(150.0f, -150.0f, -100.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(150.0f, 150.0f, -100.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-150.0f, 150.0f, -100.0f);
    glEnd();
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}
