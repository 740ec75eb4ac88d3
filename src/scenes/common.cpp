#include "scenes/common.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "assets/geometry.h"
#include "assets/mesh.h"
#include "assets/texture.h"
#include "driver/demo.h"
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

void ClearFrame(float red, float green, float blue, float alpha)
{
    glClearColor(red, green, blue, alpha);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void LookAtOriginFrom(float distance)
{
    gluLookAt(0.0, 0.0, distance, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

void SetCameraOnAxis(float distance)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    LookAtOriginFrom(distance);
}

void DrawOverlay(Texture &texture, float x, float y, float z)
{
    texture.BeginBlend();
    texture.DrawBillboard(x, y, z);
    texture.EndBlend();
}

void DrawSphereMapped(Mesh &mesh, Texture &texture)
{
    EnableSphereMap();
    texture.Bind();
    mesh.Draw();
    texture.Unbind();
    DisableSphereMap();
}

void DrawPlaceholderFrame(Demo &demo, float red, float green, float blue)
{
    ClearFrame(red, green, blue, 1.0f);
    demo.window.Update();
}
