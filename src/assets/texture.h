#pragma once

#include <cstdint>

// One image file as a GL texture object, and the few state changes the
// scenes make around textured drawing. A path whose type (everything after
// the first '.') is "png" in any capitals loads as PNG with its alpha; any
// other loads as JPEG with mipmaps. Needs a current GL context.
class Texture {
  public:
    explicit Texture(const char *path);
    virtual ~Texture(); // releases the GL texture object
    Texture(const Texture &) = delete;
    Texture &operator=(const Texture &) = delete;

    void Load(const char *path);

    virtual void SetClamp();
    virtual void SetRepeat();
    virtual void Bind();
    virtual void Unbind();
    virtual void BeginBlend();
    virtual void EndBlend();
    // A 300x300 upright square at depth -100 after translating by (x, y, z);
    // leaves lighting on, 2D texturing off and the colour opaque white.
    virtual void DrawBillboard(float x, float y, float z);

    uint32_t name = 0; // 0 when nothing was loaded
    int width = 0;
    int height = 0;
    bool loaded = false;
};
