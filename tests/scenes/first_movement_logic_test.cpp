// The stepped spin, the ripple, the slime arrays and the start-up render state.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstring>

#include "assets/mesh.h"
#include "driver/render_state.h"
#include "scene_fixture.h"
#include "scenes/common.h"
#include "scenes/ripple.h"
#include "scenes/scenes.h"

namespace {

struct SpinCase {
    const char *what;
    float heldTime;
    std::vector<float> deltas;
    float stepAngle;
    float heldAfter;
};

} // namespace

class SteppedSpinTest : public SceneTest {};

TEST_F(SteppedSpinTest, StepsOncePerPassAndKeepsTheExcess)
{
    const SpinCase cases[] = {
        {"no time, no step", 0.0f, {0.0f}, 0.0f, 0.0f},
        {"4.5 is not past 4.6", 4.0f, {0.5f}, 0.0f, 4.5f},
        {"4.0 + 0.5 + 0.5 steps once", 4.0f, {0.5f, 0.5f}, 20.0f, 0.4f},
        {"a one-second stall steps in two passes", 0.0f, {10.0f}, 20.0f, 5.4f},
        {"the second of those passes", 0.0f, {10.0f, 0.0f}, 40.0f, 0.8f},
    };
    for (const SpinCase &c : cases) {
        Demo spin{*window, *timer};
        spin.heldTime = c.heldTime;
        for (float d : c.deltas)
            AdvanceSteppedSpin(spin, d);
        EXPECT_EQ(spin.stepAngle, c.stepAngle) << c.what;
        EXPECT_NEAR(spin.heldTime, c.heldAfter, 1e-5) << c.what;
    }
}

TEST(Ripple, WavesFollowTheirFormulas)
{
    const float p = 18.5f;
    const RippleWaves w = RippleWavesAt(p);
    EXPECT_FLOAT_EQ(w.kx, static_cast<float>(2 * std::sin(double(p)) + 5));
    EXPECT_FLOAT_EQ(w.ky, static_cast<float>(2 * std::cos(1.3 * p) + 5));
    EXPECT_FLOAT_EQ(w.kz, static_cast<float>(2 * std::sin(1.1 * p) + 5));
    EXPECT_FLOAT_EQ(w.amp, static_cast<float>(30 * std::sin(1.4 * p) + 25));
}

namespace {

// One vertex at V with rest normal N.
struct OneVertex {
    SubMesh mesh{1, 0};
    OneVertex(std::array<float, 3> v, std::array<float, 3> n)
    {
        std::memcpy(mesh.positions, v.data(), sizeof v);
        std::memcpy(mesh.normals, n.data(), sizeof n);
    }
};

} // namespace

TEST(Ripple, PushesAlongTheRestNormal)
{
    const float p = 19.0f;
    const RippleWaves w = RippleWavesAt(p);
    OneVertex rest({10.0f, 20.0f, 50.0f}, {0.0f, 0.0f, 1.0f});
    OneVertex out({0, 0, 0}, {0, 0, 0});
    RippleFromRest(out.mesh, rest.mesh, w, p);
    const double push = w.amp * std::sin(double(p)) * std::sin(w.kz + double(p)) * std::sin(double(p));
    EXPECT_FLOAT_EQ(out.mesh.positions[0], 10.0f);
    EXPECT_FLOAT_EQ(out.mesh.positions[1], 20.0f);
    EXPECT_NEAR(out.mesh.positions[2], 50.0 + push, 1e-4);

    // No amplitude: the rest shape.
    RippleWaves flat = w;
    flat.amp = 0.0f;
    OneVertex tilted({3.0f, -4.0f, 5.0f}, {0.6f, 0.0f, 0.8f});
    RippleFromRest(out.mesh, tilted.mesh, flat, p);
    EXPECT_EQ(std::memcmp(out.mesh.positions, tilted.mesh.positions, 3 * sizeof(float)), 0);
}

class RippleSceneTest : public SceneTest {};

TEST_F(RippleSceneTest, SamePTwiceGivesTheSameVerticesAndTheRestShapeStays)
{
    SubMesh &sphere = *resources->meshHisphere.objects[0];
    const SubMesh &rest = *resources->meshHisphereB.objects[0];
    ASSERT_EQ(sphere.vertexCount, rest.vertexCount);
    ASSERT_NE(sphere.positions, rest.positions); // two loads of one file
    const std::vector<float> restCopy(rest.positions, rest.positions + 3 * rest.vertexCount);

    SetTime(950.0);
    RippleScene(*demo);
    const std::vector<float> first(sphere.positions, sphere.positions + 3 * sphere.vertexCount);
    EXPECT_NE(first, restCopy);
    SetTime(1000.0);
    RippleScene(*demo);
    SetTime(950.0);
    RippleScene(*demo);
    const std::vector<float> again(sphere.positions, sphere.positions + 3 * sphere.vertexCount);
    EXPECT_EQ(again, first);
    EXPECT_EQ(std::vector<float>(rest.positions, rest.positions + 3 * rest.vertexCount), restCopy);
}

TEST(SlimyRadius, IsTheRootOfTheDistanceOnePerVertex)
{
    TestMedia media;
    EbrObject points;
    points.name = "points";
    // Distances 16, 1, 0 and 5 (3-4-5 in two axes, 0 on the third).
    points.positions = {0, 16, 0, 1, 0, 0, 0, 0, 0, 3, 0, 4};
    points.texCoords = std::vector<float>(8, 0.0f);
    points.indices = {0, 1, 2, 1, 2, 3};
    const std::string path = (media.Directory() / "points.ebr").string();
    ASSERT_TRUE(WriteEbr(path, {points}));
    const Mesh mesh(path.c_str());
    const std::vector<float> radius = SlimyRadius(mesh);
    ASSERT_EQ(radius.size(), 4u);
    EXPECT_FLOAT_EQ(radius[0], 4.0f);
    EXPECT_FLOAT_EQ(radius[1], 1.0f);
    EXPECT_FLOAT_EQ(radius[2], 0.0f);
    EXPECT_FLOAT_EQ(radius[3], std::sqrt(5.0f));

    MessageRecorder quiet;
    const Mesh missing((media.Directory() / "missing.ebr").string().c_str());
    EXPECT_TRUE(SlimyRadius(missing).empty());
}

class ResourceSetTest : public SceneTest {};

TEST_F(ResourceSetTest, TwinLoadsMatchAndTheSlimeArraysFitTheMesh)
{
    for (auto [mesh, rest] : {std::pair{&resources->meshHisphere, &resources->meshHisphereB},
                              std::pair{&resources->meshSlimy, &resources->meshSlimyB}}) {
        ASSERT_GT(mesh->objectCount, 0);
        const SubMesh &a = *mesh->objects[0];
        const SubMesh &b = *rest->objects[0];
        ASSERT_EQ(a.vertexCount, b.vertexCount);
        EXPECT_EQ(std::memcmp(a.normals, b.normals, 12 * size_t(a.vertexCount)), 0);
    }
    const int n = resources->meshSlimy.objects[0]->vertexCount;
    EXPECT_EQ(resources->slimyRadius.size(), size_t(n));
    ASSERT_EQ(resources->slimyOffset.size(), size_t(n));
    for (const Vec3 &offset : resources->slimyOffset)
        EXPECT_TRUE(offset.x == 0 && offset.y == 0 && offset.z == 0);
    // The test sphere has radius 50: every radius is its root.
    for (float r : resources->slimyRadius)
        EXPECT_NEAR(r, std::sqrt(50.0f), 1e-4);
}

class RenderStateTest : public SceneTest {};

TEST_F(RenderStateTest, StartUpStateHasTheDescribedValues)
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_FOG);
    SetGlobalRenderState();

    GLfloat v[4];
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
    EXPECT_EQ(std::vector<float>(v, v + 4), std::vector<float>({0.2f, 0.2f, 0.2f, 1.0f}));
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    EXPECT_EQ(std::vector<float>(v, v + 4), std::vector<float>({0.8f, 0.8f, 0.8f, 1.0f}));
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    EXPECT_EQ(std::vector<float>(v, v + 4), std::vector<float>({0.0f, 0.0f, 100.0f, 1.0f}));
    glGetFloatv(GL_CURRENT_COLOR, v);
    EXPECT_EQ(std::vector<float>(v, v + 4), std::vector<float>({1.0f, 1.0f, 1.0f, 0.5f}));
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    EXPECT_EQ(src, GL_SRC_ALPHA);
    EXPECT_EQ(dst, GL_ONE);
    for (GLenum on : {GL_LIGHT0, GL_LIGHTING, GL_TEXTURE_2D, GL_DEPTH_TEST})
        EXPECT_TRUE(glIsEnabled(on)) << on;
    for (GLenum off : {GL_BLEND, GL_FOG})
        EXPECT_FALSE(glIsEnabled(off)) << off;
    GLint i = 0;
    glGetIntegerv(GL_SHADE_MODEL, &i);
    EXPECT_EQ(i, GL_SMOOTH);
    glGetIntegerv(GL_DEPTH_FUNC, &i);
    EXPECT_EQ(i, GL_LEQUAL);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &i);
    EXPECT_EQ(i, GL_NICEST);
    glGetIntegerv(GL_FOG_HINT, &i);
    EXPECT_EQ(i, GL_DONT_CARE);
    glGetIntegerv(GL_FOG_MODE, &i);
    EXPECT_EQ(i, GL_LINEAR);
    GLfloat f = 0;
    glGetFloatv(GL_FOG_DENSITY, &f);
    EXPECT_FLOAT_EQ(f, 0.35f);
    glGetFloatv(GL_FOG_START, &f);
    EXPECT_FLOAT_EQ(f, 200.0f);
    glGetFloatv(GL_FOG_END, &f);
    EXPECT_FLOAT_EQ(f, 500.0f);
    glGetFloatv(GL_FOG_COLOR, v);
    EXPECT_EQ(std::vector<float>(v, v + 4), std::vector<float>({1.0f, 1.0f, 1.0f, 1.0f}));
}

class OpeningSpinTest : public SceneTest {};

TEST_F(OpeningSpinTest, FirstPassDoesNotStepAndAStallStepsTwice)
{
    // A timer of its own: the run's first frame-time reading is at 14 s.
    FixedStepClock own(100, 1);
    Timer fresh(own);
    Demo run{*window, fresh};
    run.resources = resources;
    own.SetPass(1400);
    OpeningSpinScene(run);
    EXPECT_EQ(run.stepAngle, 0.0f);
    EXPECT_EQ(run.heldTime, 0.0f);
    own.SetPass(1500); // a one-second stall
    OpeningSpinScene(run);
    EXPECT_EQ(run.stepAngle, 20.0f);
    EXPECT_NEAR(run.heldTime, 5.4f, 1e-4);
    DoubleSpinScene(run); // same instant, into the next window: the excess steps again
    EXPECT_EQ(run.stepAngle, 40.0f);
    EXPECT_NEAR(run.heldTime, 0.8f, 1e-4);
}
