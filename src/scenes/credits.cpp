// 163-179.5 s: the credits over the fogged, scrolling corridor. Each role
// word stands beside the handle of its person, down the left side, at
// staggered depths. Once over the whole window, then once in each quadrant.
#include <GL/gl.h>
#include <GL/glu.h>

#include "driver/demo.h"
#include "driver/resources.h"
#include "effects/scroll_planes.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

namespace {

// The role words stand exactly on the far plane, 1000 units from the eye,
// where rounding alone decides whether the GL clips them away. Overlays draw
// without the depth test, so a far plane a little farther changes nothing of
// where they land and keeps them on screen everywhere.
void DrawFarOverlay(Texture &texture, float x, float y, float z)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(45.0, 1.3333333333333333, 1.0, 1001.0);
    glMatrixMode(GL_MODELVIEW);
    DrawOverlay(texture, x, y, z);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// q is the scroll parameter; both scenes pass -(t x 0.02), so the corridor
// keeps scrolling the same way across the cut.
void DrawCredits(Resources &res, float q)
{
    // Fog only on the corridor, never on the words.
    glEnable(GL_FOG);
    SetCameraOnAxis(200);
    res.texHahastygt.Bind();
    DrawScrollPlanes(q);
    res.texHahastygt.Unbind();
    glDisable(GL_FOG);

    // The frame comes first and the credits over it, though they are farther:
    // the overlays draw without the depth test.
    DrawOverlay(res.texGridramme1, 0.0f, 0.0f, 30.0f);
    DrawOverlay(res.texPennick, -290.0f, 70.0f, -500.0f);
    DrawFarOverlay(res.texCode, -200.0f, 20.0f, -700.0f);
    DrawOverlay(res.texHolvar, -300.0f, -90.0f, -600.0f);
    DrawFarOverlay(res.texMusic, -200.0f, -180.0f, -700.0f);
    DrawOverlay(res.texTraske, -320.0f, -280.0f, -600.0f);
    DrawFarOverlay(res.texGraphics, -200.0f, -370.0f, -700.0f);
}

} // namespace

void CreditsScene(Demo &demo)
{
    const float p = static_cast<float>(demo.timer.GetTime() * 0.02);
    demo.timer.GetDelta();

    ClearFrame(1, 1, 1, 1); // alpha 1 here
    DrawCredits(*demo.resources, -p);

    demo.window.Update();
}

void CreditsQuadScene(Demo &demo)
{
    const float p = static_cast<float>(demo.timer.GetTime() * 0.02);
    demo.timer.GetDelta();

    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    const float q = -p; // once, so that the quadrants show the same instant
    for (int k = 0; k < 4; ++k) {
        QuadrantViewport(k);
        LoadScenePerspective();
        glClear(GL_DEPTH_BUFFER_BIT);
        DrawCredits(*demo.resources, q);
    }

    demo.window.Update();
}
