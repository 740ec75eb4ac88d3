// 135-163 s: a sphere-mapped spiky ball inside a wire copy of itself that
// swells with the bass, then a bump mesh off to the right with a larger spiky
// mesh blended over it. Both under the grid frame.
#include <GL/gl.h>

#include "assets/geometry.h"
#include "driver/demo.h"
#include "driver/resources.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

namespace {

void DrawGridFrame(Resources &res)
{
    DrawOverlay(res.texGridramme1, 0.0f, 0.0f, -120.0f);
}

} // namespace

void SpikeScene(Demo &demo)
{
    Resources &res = *demo.resources;
    demo.window.GetSpectrum(demo.spectrum);
    FullWindowView(); // the greetings quadrants left the lower-left quarter
    const float w = static_cast<float>(demo.timer.GetTime() * 0.09);

    ClearFrame(1, 1, 1, 0);
    SetCameraOnAxis(25);
    const float a = w * 30.0f;

    // The solid ball.
    glPushMatrix();
    glRotatef(a, 1, 0.5f, 0.5f);
    res.texBlue.Bind();
    EnableSphereMap();
    res.meshSpiky3.Draw();
    DisableSphereMap();
    res.texBlue.Unbind();
    glPopMatrix();

    // Its wire copy, 1.2 times the size when silent, swelling with bin 4; the
    // solid ball hides the lines behind it.
    glPushMatrix();
    const float s = demo.spectrum[4] + 1.2f;
    glScalef(s, s, s);
    glRotatef(a, 1, 0.5f, 0.5f);
    EnableSphereMap();
    res.texRed.Bind();
    res.meshSpiky3.DrawWire();
    res.texRed.Unbind();
    DisableSphereMap();
    glPopMatrix();

    DrawGridFrame(res);
    demo.window.Update();
}

void BumpSpikeScene(Demo &demo)
{
    Resources &res = *demo.resources;
    const float w = static_cast<float>(demo.timer.GetTime() * 0.05);

    ClearFrame(1, 1, 1, 0);
    SetCameraOnAxis(50);

    // The bump mesh off to the right, sphere-mapped.
    glPushMatrix();
    glTranslatef(8, 0, 0);
    const float a = w * 20.0f;
    glRotatef(a, 0, 1, 1);
    DrawSphereMapped(res.meshBump3, res.texBlue);

    // On the same transform, turned further and three times larger: the
    // spikes brighten and tint what lies behind them (source + destination
    // times source colour), with their own texture coordinates.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_SRC_COLOR);
    glRotatef(a, 1, 0, 1);
    glScalef(3, 3, 3);
    res.texSkyting2.Bind();
    res.meshSpiky4.Draw();
    res.texSkyting2.Unbind();
    glDisable(GL_BLEND);
    glPopMatrix();

    DrawGridFrame(res);
    demo.window.Update();
}
