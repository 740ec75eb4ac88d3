#include "effects/warp_image.h"

#include <GL/gl.h>

WarpImage::WarpImage(const char *path)
    : texture(path), points(new float[2 * kWarpLatticeSide * kWarpLatticeSide]())
{
}

WarpImage::~WarpImage()
{
    delete[] points;
}

void WarpImage::Draw(float x0, float y0, float x1, float y1, float phase)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glColor3f(1.0f, 1.0f, 1.0f);
    texture.Bind();
    ComputeWarpLattice(points, phase);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawWarpGrid(points, kWarpLatticeSide, kWarpLatticeSide, x0, y0, x1, y1);
    // Still in projection mode: this pops the caller's projection back.
    glPopMatrix();
    glDisable(GL_BLEND);
    glEnable(GL_LIGHTING);
    texture.Unbind();
}
