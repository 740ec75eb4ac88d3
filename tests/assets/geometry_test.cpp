#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "assets/geometry.h"
#include "support/offscreen_gl.h"

namespace {
void ExpectVec(Vec3 got, Vec3 want, float tolerance = 1e-6f)
{
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

float Length(Vec3 v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}
} // namespace

TEST(Geometry, CrossIsRightHandedAndAntisymmetric)
{
    ExpectVec(Cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1});
    ExpectVec(Cross({0, 1, 0}, {0, 0, 1}), {1, 0, 0});
    ExpectVec(Cross({0, 0, 1}, {1, 0, 0}), {0, 1, 0});
    const Vec3 a{1.5f, -2.0f, 0.25f};
    const Vec3 b{-3.0f, 0.5f, 4.0f};
    ExpectVec(Cross(a, a), {0, 0, 0});
    const Vec3 ab = Cross(a, b);
    ExpectVec(Cross(b, a), {-ab.x, -ab.y, -ab.z});
    ExpectVec(ab, {-2.0f * 4.0f - 0.25f * 0.5f, 0.25f * -3.0f - 1.5f * 4.0f, 1.5f * 0.5f - -2.0f * -3.0f});
}

TEST(Geometry, RotationsTurnInTheirOwnSenses)
{
    const float quarter = std::numbers::pi_v<float> / 2;
    // X turns by the right-hand rule; Y and Z turn the other way.
    ExpectVec(RotateX({0, 1, 0}, quarter), {0, 0, 1});
    ExpectVec(RotateX({0, 0, 1}, quarter), {0, -1, 0});
    ExpectVec(RotateY({1, 0, 0}, quarter), {0, 0, 1});
    ExpectVec(RotateY({0, 0, 1}, quarter), {-1, 0, 0});
    ExpectVec(RotateZ({1, 0, 0}, quarter), {0, -1, 0});
    ExpectVec(RotateZ({0, 1, 0}, quarter), {1, 0, 0});
    // The axis component passes through.
    ExpectVec(RotateX({7, 0, 0}, 1.0f), {7, 0, 0});
    ExpectVec(RotateY({0, 7, 0}, 1.0f), {0, 7, 0});
    ExpectVec(RotateZ({0, 0, 7}, 1.0f), {0, 0, 7});
}

TEST(Geometry, RotationByZeroIsExactAndLengthIsKept)
{
    const Vec3 v{1.25f, -3.5f, 2.75f};
    for (auto rotate : {RotateX, RotateY, RotateZ}) {
        const Vec3 same = rotate(v, 0.0f);
        EXPECT_EQ(same.x, v.x);
        EXPECT_EQ(same.y, v.y);
        EXPECT_EQ(same.z, v.z);
        for (float angle : {0.3f, -1.7f, 2.9f, 12.0f})
            EXPECT_NEAR(Length(rotate(v, angle)), Length(v), 1e-5f) << "angle " << angle;
    }
}

using SphereMapTest = OffscreenGLTest;

TEST_F(SphereMapTest, SwitchesLeaveTheDescribedState)
{
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    EnableSphereMap();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_R));
    DisableSphereMap();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    for (GLenum coord : {GL_S, GL_T}) {
        GLint mode = 0;
        glGetTexGeniv(coord, GL_TEXTURE_GEN_MODE, &mode);
        EXPECT_EQ(mode, GL_SPHERE_MAP);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
