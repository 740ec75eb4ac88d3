#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cmath>
#include <cstring>

#include "effects/warp_image.h"
#include "gl_feedback.h"
#include "support/offscreen_gl.h"

namespace {

constexpr int kSide = kWarpLatticeSide;

TEST(WarpLattice, PhaseZeroAndTheWobbleBounds)
{
    float points[2 * kSide * kSide];
    ComputeWarpLattice(points, 0.0f);
    EXPECT_EQ(points[0], 0.0f);
    EXPECT_EQ(points[1], 0.055555556f);
    // Column 1 of row 0: s moves by the sine of 0.52, t by the cosine of 0.32.
    EXPECT_NEAR(points[2], 0.11111111 + 0.055555556 * std::sin(0.52), 1e-7);
    EXPECT_NEAR(points[3], 0.055555556 * std::cos(0.32), 1e-7);
    // Row 1, column 0: the rows advance the sine by 0.423 and the cosine by 1.323.
    EXPECT_NEAR(points[2 * kSide], 0.055555556 * std::sin(0.423), 1e-7);
    EXPECT_NEAR(points[2 * kSide + 1], 0.11111111 + 0.055555556 * std::cos(1.323), 1e-7);

    for (float phase : {0.0f, 0.7f, 3.0f, 44.4f}) {
        ComputeWarpLattice(points, phase);
        for (int i = 0; i < kSide; ++i)
            for (int j = 0; j < kSide; ++j) {
                EXPECT_LE(std::fabs(points[2 * (kSide * i + j)] - j / 9.0f), 1.0f / 18 + 1e-6f);
                EXPECT_LE(std::fabs(points[2 * (kSide * i + j) + 1] - i / 9.0f), 1.0f / 18 + 1e-6f);
            }
        float again[2 * kSide * kSide];
        ComputeWarpLattice(again, phase);
        EXPECT_EQ(std::memcmp(points, again, sizeof points), 0);
    }
}

class WarpDrawing : public OffscreenGLTest {
  protected:
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // Wide enough that no quad of the overhanging lattice is clipped.
        glOrtho(-0.5, 1.5, -0.5, 1.5, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_CULL_FACE);
    }
    void TearDown() override { glEnable(GL_CULL_FACE); }
};

TEST_F(WarpDrawing, QuadsRunFromTheFirstCornerInSteps)
{
    float points[2 * kSide * kSide];
    ComputeWarpLattice(points, 1.5f);
    const auto quads = CaptureQuads([&] { DrawWarpGrid(points, kSide, kSide, 1.1f, 1.1f, -0.1f, -0.1f); });
    ASSERT_EQ(quads.size(), 81u);
    // The step is (-0.1 - 1.1) / 9 as a float; positions accumulate it.
    const float step = (-0.1f - 1.1f) / 9.0f;
    EXPECT_EQ(step, -0.13333334f);
    float y = 1.1f;
    for (int r = 0; r < 9; ++r) {
        float x = 1.1f;
        for (int k = 0; k < 9; ++k) {
            const auto &quad = quads[9 * r + k];
            const float xs[4] = {x, x + step, x + step, x};
            const float ys[4] = {y, y, y + step, y + step};
            const int corners[4][2] = {{r, k}, {r, k + 1}, {r + 1, k + 1}, {r + 1, k}};
            for (int v = 0; v < 4; ++v) {
                EXPECT_NEAR(quad[v].x, (xs[v] + 0.5f) * 400.0f, 2e-3f) << r << " " << k << " " << v;
                EXPECT_NEAR(quad[v].y, (ys[v] + 0.5f) * 300.0f, 2e-3f) << r << " " << k << " " << v;
                const float *point = points + 2 * (corners[v][0] * kSide + corners[v][1]);
                EXPECT_NEAR(quad[v].s, point[0], 1e-6f);
                EXPECT_NEAR(quad[v].t, point[1], 1e-6f);
            }
            x += step;
        }
        y += step;
    }

    for (int small : {0, 1})
        EXPECT_TRUE(CaptureFeedback([&] { DrawWarpGrid(points, small, kSide, 0, 0, 1, 1); }).empty());
}

TEST_F(WarpDrawing, DrawRestoresTheProjectionAndLeavesItsStates)
{
    MessageRecorder messages; // whatever the texture says about a missing file
    WarpImage image("data/no_such_picture_for_the_warp_test.png");
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-1, 1, -1, 1, 1, 100);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0, 0, -1);
    glEnable(GL_LIGHTING);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    glBlendFunc(GL_ONE, GL_ONE);

    image.Draw(1.1f, 1.1f, -0.1f, -0.1f, 2.0f);

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    GLfloat after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    EXPECT_EQ(std::memcmp(projection, after, sizeof after), 0);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint source = 0;
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[0], 1.0f);
    EXPECT_EQ(colour[2], 1.0f);
    GLint depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    // Drawn under the orthographic unit square, whatever the caller's projection.
    const auto quads = CaptureQuads([&] { image.Draw(0.9f, 0.8f, 0.1f, 0.2f, 2.0f); });
    ASSERT_EQ(quads.size(), 81u);
    EXPECT_NEAR(quads[0][0].x, 0.9f * 800.0f, 1e-2f);
    EXPECT_NEAR(quads[0][0].y, 0.8f * 600.0f, 1e-2f);
    EXPECT_NEAR(quads[80][2].x, 0.1f * 800.0f, 1e-2f);
    EXPECT_NEAR(quads[80][2].y, 0.2f * 600.0f, 1e-2f);
    glMatrixMode(GL_MODELVIEW);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
