// 103-135 s: three tumbling copies of a bumpy mesh laid over one another,
// the greetings sliding sideways across them, the grid frame, and one word
// whose distance pulses with the music. Once over the whole window, then once
// in each quadrant.
#include <GL/gl.h>

#include "driver/demo.h"
#include "driver/resources.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

namespace {

// Everything that moves, computed once per frame so that the four quadrants
// show the same instant.
struct GreetingsMotion {
    float a; // the common tumbling angle, degrees
    float b; // the second layer's first angle
    float c; // the third layer's second angle
    float v; // how far the greetings have slid
};

GreetingsMotion MotionAt(float t)
{
    const float u = static_cast<float>(t * 0.2);
    return {u * 10.0f, u * 20.0f, u * 5.0f, u * 8.0f};
}

struct Turn {
    float angle, x, y, z;
};

void DrawMeshLayer(Mesh &mesh, Texture &texture, float scale, Turn first, Turn second)
{
    glPushMatrix();
    texture.Bind();
    glScalef(scale, scale, scale);
    glRotatef(first.angle, first.x, first.y, first.z);
    glRotatef(second.angle, second.x, second.y, second.z);
    mesh.Draw();
    glPopMatrix();
    texture.Unbind();
}

// The composition seen from z = 30; the music word stands at (dunmereX,
// dunmereY) and comes nearer as bin 7 of the spectrum rises.
void DrawGreetings(Demo &demo, Mesh &mesh, const GreetingsMotion &m, float dunmereX, float dunmereY)
{
    Resources &res = *demo.resources;

    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    LookAtOriginFrom(30);

    // The layers ignore depth: the first replaces what is under it, the
    // other two add their colour weighted by alpha.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    DrawMeshLayer(mesh, res.texHahastygt, 7.0f, {m.a, 1, 0, 1}, {m.a, 1, 1, 0});
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    DrawMeshLayer(mesh, res.texRed, 5.0f, {m.b, -1, 1, 0}, {m.a, 0, 0.5f, -1});
    DrawMeshLayer(mesh, res.texSkyting2, 5.0f, {m.a, -1, 1, 0}, {m.c, 0.5f, 0.5f, 0});
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);

    DrawOverlay(res.texScene, 1850.0f - m.v, 25.0f, -5.0f);
    DrawOverlay(res.texFenvall, m.v - 1900.0f, 20.0f, -5.0f);
    DrawOverlay(res.texBrakkon, 1900.0f - m.v, 15.0f, -5.0f);
    DrawOverlay(res.texGridramme1, 0.0f, 0.0f, -170.0f);
    DrawOverlay(res.texDunmere, dunmereX, dunmereY, demo.spectrum[7] * 64.0f - 600.0f);

    glPopMatrix();
}

// The layers' triangles reach far beyond a quadrant. Bounded by the viewport
// alone, the software rasteriser still bins them over the whole window; a
// scissor of the same rectangle keeps its work in the quadrant (about twice
// the frame rate there) and leaves every pixel as it was.
void ScissorToViewport()
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
    glEnable(GL_SCISSOR_TEST);
}

} // namespace

void GreetingsScene(Demo &demo)
{
    demo.window.GetSpectrum(demo.spectrum);
    const GreetingsMotion motion = MotionAt(demo.timer.GetTime());
    demo.timer.GetDelta();

    ClearFrame(1, 1, 1, 0);
    DrawGreetings(demo, demo.resources->meshBump, motion, -240.0f, -180.0f);

    demo.window.Update();
}

void GreetingsQuadScene(Demo &demo)
{
    // No fetch: bin 7 keeps the last frame of the previous window's value,
    // so the music word stands still here.
    const GreetingsMotion motion = MotionAt(demo.timer.GetTime());
    demo.timer.GetDelta();

    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    for (int q = 0; q < 4; ++q) {
        QuadrantViewport(q);
        LoadScenePerspective();
        glClearColor(1, 1, 1, 0);
        glClear(GL_DEPTH_BUFFER_BIT);
        ScissorToViewport();
        DrawGreetings(demo, demo.resources->meshBump2, motion, -260.0f, -200.0f);
        glDisable(GL_SCISSOR_TEST);
    }

    demo.window.Update();
}
