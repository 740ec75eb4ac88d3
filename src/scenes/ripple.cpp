// Seconds 89 to 103: the blue sphere-mapped sphere left of centre, turning,
// its surface rippled along the normals by three crossed sine waves; the
// flame frame over it.
#include "scenes/ripple.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "driver/demo.h"
#include "driver/resources.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

RippleWaves RippleWavesAt(float p)
{
    // The sines in extended precision; 1.3 and 1.1 are float constants whose
    // products with p are exact in extended precision.
    const long double x = p;
    RippleWaves waves;
    waves.kx = static_cast<float>(2 * std::sin(x) + 5.0);
    waves.ky = static_cast<float>(2 * std::cos(static_cast<long double>(1.3f) * x) + 5.0);
    waves.kz = static_cast<float>(2 * std::sin(static_cast<long double>(1.1f) * x) + 5.0);
    waves.amp = static_cast<float>(30.0 * std::sin(1.4 * x) + 25.0);
    return waves;
}

void RippleFromRest(SubMesh &target, const SubMesh &rest, const RippleWaves &waves, float p)
{
    // Double, not extended precision: the stored floats come out the same
    // (no difference in a million and more sampled coordinates) and the
    // sines cost a seventeenth, which keeps this under a millisecond.
    const int count = std::min(target.vertexCount, rest.vertexCount);
    const double phase = p;
    const double kx = waves.kx, ky = waves.ky, kz = waves.kz, amp = waves.amp;
    for (int i = 0; i < count; ++i) {
        const float *v = rest.positions + 3 * i;
        const float *n = rest.normals + 3 * i;
        const double f =
            std::sin(ky * n[1] + phase) * std::sin(kz * n[2] + phase) * std::sin(kx * n[0] + phase);
        const double push = amp * f;
        float *out = target.positions + 3 * i;
        out[0] = static_cast<float>(v[0] + n[0] * push);
        out[1] = static_cast<float>(v[1] + n[1] * push);
        out[2] = static_cast<float>(v[2] + n[2] * push);
    }
}

void RippleScene(Demo &demo)
{
    Resources &media = *demo.resources;
    const float t = demo.timer.GetTime();
    const float p = static_cast<float>(t * 0.02);
    demo.timer.GetDelta();

    // Without the sphere file there is nothing to ripple.
    Mesh &sphere = media.meshHisphere;
    const Mesh &rest = media.meshHisphereB;
    if (sphere.objectCount > 0 && rest.objectCount > 0) {
        RippleFromRest(*sphere.objects[0], *rest.objects[0], RippleWavesAt(p), p);
        sphere.RecomputeNormals();
    }

    ClearFrame(1.0f, 1.0f, 1.0f, 0.0f);
    // Identity first, then the push: the pop returns to the identity.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    LookAtOriginFrom(200.0f);
    glTranslatef(-40.0f, 0.0f, 0.0f);
    glRotatef(40.0f * p, 1.0f, 0.0f, 1.0f);
    DrawSphereMapped(sphere, media.texBlue);
    glPopMatrix();

    // Under the identity, not the camera: 260 units in front of the eye.
    DrawOverlay(media.texFlammekasterramme, 0.0f, 0.0f, -160.0f);
    demo.window.Update();
}
