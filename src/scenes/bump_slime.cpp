// 179.5-208 s: a sphere-mapped bump mesh swinging about the centre under a
// three times larger blended copy; then the slime, twisted vertex by vertex
// towards a slowly swinging target, each vertex lagging by its distance from
// the centre, so that it wobbles and trails like a soft body.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "driver/demo.h"
#include "driver/resources.h"
#include "scenes/common.h"
#include "scenes/scenes.h"
#include "scenes/slime.h"

void TwinBumpScene(Demo &demo)
{
    Resources &res = *demo.resources;
    const float w = static_cast<float>(demo.timer.GetTime() * 0.09);
    demo.timer.GetDelta(); // so that the slime's first delta spans one frame
    FullWindowView();      // the credits quadrants left the lower-left quarter

    ClearFrame(1, 1, 1, 0);
    SetCameraOnAxis(50);

    // Turned first, then moved out: it orbits the centre at distance 10.
    glPushMatrix();
    glRotatef(w * -20.0f, 0, 1, 1);
    glTranslatef(10, 0, 0);
    DrawSphereMapped(res.meshBump3, res.texHahastygt);
    glPopMatrix();

    // The large copy with its own texture coordinates, brightening and
    // tinting what lies behind it.
    glPushMatrix();
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_SRC_COLOR);
    glRotatef(w * 20.0f, 1, 0, 1);
    glScalef(3, 3, 3);
    res.texEnvmap.Bind();
    res.meshBump3.Draw();
    res.texEnvmap.Unbind();
    glDisable(GL_BLEND);
    glPopMatrix();

    DrawOverlay(res.texDarkramme, 0.0f, 0.0f, -120.0f);
    demo.window.Update();
    // Stamped after the frame is presented: the slime counts its time from here.
    demo.heldTime = demo.timer.GetTime();
}

Vec3 SlimeTarget(float p)
{
    return {static_cast<float>(13.0 * std::sin(0.4 * p)), static_cast<float>(13.0 * std::sin(0.2 * p)),
            static_cast<float>(13.0 * std::sin(0.32 * p))};
}

namespace {

// One Euler step of the lag; a step as long as the time constant or longer
// (a stall, or a vertex at the centre with no lag at all) lands on the target.
float LagToward(float offset, float target, float radius, float d)
{
    if (!(d < radius))
        return target;
    return ((target - offset) / radius) * d + offset;
}

} // namespace

void TwistSlime(const SubMesh &rest, SubMesh &mesh, std::span<const float> radius, std::span<Vec3> offset,
                Vec3 target, float d)
{
    const size_t n =
        std::min({static_cast<size_t>(std::max(rest.vertexCount, 0)),
                  static_cast<size_t>(std::max(mesh.vertexCount, 0)), radius.size(), offset.size()});
    for (size_t i = 0; i < n; ++i) {
        Vec3 &angle = offset[i];
        angle.x = LagToward(angle.x, target.x, radius[i], d);
        angle.y = LagToward(angle.y, target.y, radius[i], d);
        angle.z = LagToward(angle.z, target.z, radius[i], d);
        // Always from the rest shape: only the angles carry over, never error.
        Vec3 r{rest.positions[3 * i], rest.positions[3 * i + 1], rest.positions[3 * i + 2]};
        r = RotateX(r, angle.x);
        r = RotateY(r, angle.y);
        r = RotateZ(r, angle.z);
        mesh.positions[3 * i] = r.x;
        mesh.positions[3 * i + 1] = r.y;
        mesh.positions[3 * i + 2] = r.z;
    }
}

void SlimeScene(Demo &demo)
{
    Resources &res = *demo.resources;
    const float p = static_cast<float>((demo.timer.GetTime() - demo.heldTime) * 0.04);
    const float d = demo.timer.GetDelta();

    // Without the slime's first object (its file missing) there is nothing to twist.
    if (res.meshSlimy.objectCount > 0 && res.meshSlimyB.objectCount > 0) {
        TwistSlime(*res.meshSlimyB.objects[0], *res.meshSlimy.objects[0], res.slimyRadius, res.slimyOffset,
                   SlimeTarget(p), d);
        res.meshSlimy.RecomputeNormals();
    }

    ClearFrame(1, 1, 1, 0);
    SetCameraOnAxis(200);

    glPushMatrix();
    glTranslatef(20, 0, 0);
    res.texSkyting2.Bind();
    EnableSphereMap();
    res.meshSlimy.Draw();
    res.texSkyting2.Unbind();
    DisableSphereMap();
    glPopMatrix();

    DrawOverlay(res.texDarkramme, 0.0f, 0.0f, 30.0f);
    demo.window.Update();
}
