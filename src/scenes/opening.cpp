// The first 36 seconds: the approaching portrait with the logo jumping to the
// music, then the stepped twisty mesh, then the mesh inside its huge copy.
#include <GL/gl.h>

#include "driver/demo.h"
#include "driver/resources.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

namespace {

constexpr float kCameraDistance = 100.0f;

// The twisty mesh, sphere-mapped red, turning steadily plus a 20-degree jump
// about every 0.46 s; d is this pass's frame time.
void DrawSteppedTwisty(Demo &demo, float t, float d)
{
    Resources &media = *demo.resources;
    glPushMatrix();
    AdvanceSteppedSpin(demo, d);
    glScalef(5.0f, 5.0f, 5.0f);
    glRotatef(4.0f * t + demo.stepAngle, 1.0f, 0.0f, 1.0f);
    DrawSphereMapped(media.meshTwisty4, media.texRed);
    glPopMatrix();
}

// The logo over everything, moved up and right along the diagonal by spectrum bin k.
void DrawSpectrumLogo(Demo &demo, int k)
{
    Texture &logo = demo.resources->texVelmora;
    logo.BeginBlend();
    const float s = 32.0f * demo.spectrum[k];
    logo.DrawBillboard(s - 80.0f, s - 120.0f, -230.0f);
    logo.EndBlend();
}

// The portrait right of centre, opaque and depth-tested, 4 units nearer per second.
void DrawPortrait(Demo &demo, float t)
{
    demo.resources->texNewJesus.DrawBillboard(80.0f, 10.0f, 0.4f * t - 90.0f);
}

} // namespace

void OpeningScene(Demo &demo)
{
    demo.window.GetSpectrum(demo.spectrum);
    const float t = demo.timer.GetTime();
    ClearFrame(1.0f, 1.0f, 1.0f, 0.0f);
    SetCameraOnAxis(kCameraDistance);
    DrawPortrait(demo, t);
    DrawSpectrumLogo(demo, 30);
    demo.window.Update();
}

void OpeningSpinScene(Demo &demo)
{
    demo.window.GetSpectrum(demo.spectrum);
    const float t = demo.timer.GetTime();
    const float d = demo.timer.GetDelta();
    ClearFrame(1.0f, 1.0f, 1.0f, 0.0f);
    SetCameraOnAxis(kCameraDistance);
    DrawSteppedTwisty(demo, t, d);
    DrawPortrait(demo, t);
    DrawSpectrumLogo(demo, 25);
    demo.window.Update();
}

void DoubleSpinScene(Demo &demo)
{
    Resources &media = *demo.resources;
    const float t = demo.timer.GetTime();
    const float d = demo.timer.GetDelta();
    ClearFrame(1.0f, 1.0f, 1.0f, 1.0f);
    SetCameraOnAxis(kCameraDistance);

    // The same mesh ten times larger, around the eye, at its own steady rate.
    glPushMatrix();
    glScalef(50.0f, 50.0f, 50.0f);
    glRotatef(2.0f * t, 1.0f, 0.0f, 1.0f);
    DrawSphereMapped(media.meshTwisty4, media.texSkyting2);
    glPopMatrix();

    DrawSteppedTwisty(demo, t, d);
    DrawOverlay(media.texVanligramme, 0.0f, 0.0f, -70.0f);
    demo.window.Update();
}
