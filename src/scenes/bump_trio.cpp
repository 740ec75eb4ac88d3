// Seconds 74 to 89: three copies of the bump mesh around one centre, without
// depth test, the first opaque and the other two added on top; the grid frame over them.
#include <GL/gl.h>

#include "driver/demo.h"
#include "driver/resources.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

namespace {

struct Turn {
    float angle; // degrees
    float x, y, z;
};

// One copy: scaled, turned by two rotations (the first outermost), textured.
void DrawBump(Mesh &mesh, Texture &texture, float scale, Turn first, Turn second)
{
    glPushMatrix();
    texture.Bind();
    glScalef(scale, scale, scale);
    glRotatef(first.angle, first.x, first.y, first.z);
    glRotatef(second.angle, second.x, second.y, second.z);
    mesh.Draw();
    texture.Unbind();
    glPopMatrix();
}

} // namespace

void BumpTrioScene(Demo &demo)
{
    Resources &media = *demo.resources;
    const float t = demo.timer.GetTime();
    const float p = static_cast<float>(t * 0.2);
    demo.timer.GetDelta();
    const float a = 20.0f * p;
    const float b = 10.0f * p;

    ClearFrame(1.0f, 1.0f, 1.0f, 0.0f);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    LookAtOriginFrom(30.0f);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO); // the first replaces what is below
    DrawBump(media.meshBump2, media.texBlue, 5.5f, {a, 1, 0, 1}, {b, 0, 1, 1});
    glBlendFunc(GL_SRC_ALPHA, GL_ONE); // the next two are added
    DrawBump(media.meshBump2, media.texRed, 5.0f, {a, -1, 1, 0}, {b, 0, 0.5f, -1});
    DrawBump(media.meshBump2, media.texSkyting2, 4.5f, {b, 1, -1, 0}, {a, 1, 0.5f, 0});
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);

    DrawOverlay(media.texGridramme1, 0.0f, 0.0f, -140.0f);
    glPopMatrix();
    demo.window.Update();
}
