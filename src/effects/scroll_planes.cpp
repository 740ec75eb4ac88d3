#include "effects/scroll_planes.h"

#include <GL/gl.h>

namespace {

// One plane in its own frame: 4 x 4 quads of 250 units at depth -70, the
// texture sliding along y by `slide`. The last quad of each row winds the
// other way and faces away from a viewer between the planes, so the back-face
// culling of the whole run never lets it show.
void EmitPlane(float slide)
{
    constexpr float kDepth = -70.0f;
    const float edges[5] = {-500.0f, -250.0f, 0.0f, 250.0f, 500.0f};
    const float texture[5] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    glBegin(GL_QUADS);
    for (int row = 0; row < 4; ++row) {
        const float y0 = edges[row];
        const float y1 = edges[row + 1];
        const float v0 = texture[row] + slide;
        const float v1 = texture[row + 1] + slide;
        for (int column = 0; column < 3; ++column) {
            const float x0 = edges[column];
            const float x1 = edges[column + 1];
            const float s0 = texture[column];
            const float s1 = texture[column + 1];
            glTexCoord2f(s0, v0);
            glVertex3f(x0, y0, kDepth);
            glTexCoord2f(s1, v0);
            glVertex3f(x1, y0, kDepth);
            glTexCoord2f(s1, v1);
            glVertex3f(x1, y1, kDepth);
            glTexCoord2f(s0, v1);
            glVertex3f(x0, y1, kDepth);
        }
        glTexCoord2f(0.0f, v0);
        glVertex3f(500.0f, y0, kDepth);
        glTexCoord2f(1.0f, v0);
        glVertex3f(250.0f, y0, kDepth);
        glTexCoord2f(1.0f, v1);
        glVertex3f(250.0f, y1, kDepth);
        glTexCoord2f(0.0f, v1);
        glVertex3f(500.0f, y1, kDepth);
    }
    glEnd();
}

} // namespace

void DrawScrollPlanes(float t)
{
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-30.0f * t, 0.0f, 1.0f, 0.0f);
    glNormal3f(0.0f, 1.0f, 0.0f);
    EmitPlane(-t);
    glPopMatrix();

    glPushMatrix();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(30.0f * t, 0.0f, 1.0f, 0.0f);
    glNormal3f(0.0f, -1.0f, 0.0f);
    EmitPlane(t);
    glPopMatrix();
}
