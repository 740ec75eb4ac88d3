#include "scenes/common.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "driver/demo.h"
#include "assets/texture.h"
#include "platform/picture.h"

void AdvanceSteppedSpin(Demo &demo, float d)
{
    demo.heldTime = demo.heldTime + d;
    if (demo.heldTime > 4.6f) {
        demo.stepAngle = demo.stepAngle + 20.0f;
        demo.heldTime = demo.heldTime - 4.6f;
    }
}

void LoadScenePerspective()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.3333333333333333, 1.0, 1000.0);
}

void FullWindowView()
{
    PictureViewport(0, 0, kDesignWidth, kDesignHeight);
    LoadScenePerspective();
}

void QuadrantViewport(int q)
{
    static constexpr int kQuadrants[4][2] = {{0, 300}, {400, 300}, {400, 0}, {0, 0}};
    PictureViewport(kQuadrants[q & 3][0], kQuadrants[q & 3][1], 400, 300);
}

void DrawPlaceholderFrame(Demo &demo, float red, float green, float blue)
{
    glClearColor(red, green, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    demo.window.Update();
}

void DrawOverlay(Texture &texture, float x, float y, float z)
{
    texture.BeginBlend();
    texture.DrawBillboard(x, y, z);
    texture.EndBlend();
}
