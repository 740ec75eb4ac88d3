#include <gtest/gtest.h>

#include <GL/gl.h>

#include <cstring>

#include "effects/scroll_planes.h"
#include "gl_feedback.h"
#include "support/offscreen_gl.h"

namespace {

// An orthographic box of +-600 on every axis maps model units straight onto
// window coordinates, so the planes' positions can be read back.
class ScrollPlanes : public OffscreenGLTest {
  protected:
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-600, 600, -600, 600, -600, 600);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_LIGHTING);
        glDisable(GL_CULL_FACE);
    }
    void TearDown() override
    {
        glEnable(GL_CULL_FACE);
        glEnable(GL_LIGHTING);
    }

    static float ModelX(const FeedbackVertex &v) { return v.x / 800.0f * 1200.0f - 600.0f; }
    static float ModelY(const FeedbackVertex &v) { return v.y / 600.0f * 1200.0f - 600.0f; }
};

TEST_F(ScrollPlanes, CeilingAndFloorTurnTogether)
{
    struct Case {
        float t;
        float firstX, firstY, secondX, secondY; // where each plane's constant axis sits
        bool constantX;
    };
    const Case cases[] = {
        {0.0f, 0, 70, 0, -70, false},
        {3.0f, 70, 0, -70, 0, true},
        {-3.0f, -70, 0, 70, 0, true},
        {6.0f, 0, -70, 0, 70, false},
    };
    for (const Case &c : cases) {
        const auto quads = CaptureQuads([&] { DrawScrollPlanes(c.t); });
        ASSERT_EQ(quads.size(), 32u) << "t " << c.t;
        for (int q = 0; q < 32; ++q) {
            for (const FeedbackVertex &v : quads[q]) {
                const float expected =
                    q < 16 ? (c.constantX ? c.firstX : c.firstY) : (c.constantX ? c.secondX : c.secondY);
                EXPECT_NEAR(c.constantX ? ModelX(v) : ModelY(v), expected, 0.05f)
                    << "t " << c.t << " quad " << q;
            }
        }
    }
}

TEST_F(ScrollPlanes, TextureSlidesAlongThePlanes)
{
    const float t = 0.25f;
    const auto quads = CaptureQuads([&] { DrawScrollPlanes(t); });
    ASSERT_EQ(quads.size(), 32u);
    for (int plane = 0; plane < 2; ++plane) {
        const float slide = plane == 0 ? -t : t;
        for (int row = 0; row < 4; ++row) {
            const float b0 = 0.25f * row;
            const float b1 = 0.25f * (row + 1);
            for (int column = 0; column < 4; ++column) {
                const auto &v = quads[16 * plane + 4 * row + column];
                const float s0 = column < 3 ? 0.25f * column : 0.0f;
                const float s1 = column < 3 ? 0.25f * (column + 1) : 1.0f;
                const float expected[4][2] = {
                    {s0, b0 + slide}, {s1, b0 + slide}, {s1, b1 + slide}, {s0, b1 + slide}};
                for (int i = 0; i < 4; ++i) {
                    EXPECT_EQ(v[i].s, expected[i][0]) << plane << " " << row << " " << column << " " << i;
                    EXPECT_EQ(v[i].t, expected[i][1]) << plane << " " << row << " " << column << " " << i;
                }
            }
        }
    }
}

TEST_F(ScrollPlanes, LeavesTheModelviewAsItWas)
{
    glTranslatef(1, 2, 3);
    glRotatef(17, 0, 1, 0);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    DrawScrollPlanes(1.7f);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(std::memcmp(before, after, sizeof after), 0);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_EQ(normal[1], -1.0f);
}

// Front faces (counter-clockwise) of the three regular quads of every row
// face the axis where the viewer is; the odd fourth quad faces away, so the
// back-face culling of the whole run hides it.
TEST_F(ScrollPlanes, OnlyTheRegularQuadsFaceTheAxis)
{
    for (float t : {0.0f, 1.3f, -4.1f}) {
        const auto quads = CaptureQuads([&] { DrawScrollPlanes(t); });
        ASSERT_EQ(quads.size(), 32u);
        for (int q = 0; q < 32; ++q) {
            float p[3][3];
            for (int i = 0; i < 3; ++i) {
                const FeedbackVertex &v = quads[q][i];
                p[i][0] = ModelX(v);
                p[i][1] = ModelY(v);
                p[i][2] = -(2.0f * v.z - 1.0f) * 600.0f;
            }
            const float a[3] = {p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
            const float b[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
            const float n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2],
                                a[0] * b[1] - a[1] * b[0]};
            const float towardsAxis = -(n[0] * p[0][0] + n[1] * p[0][1]);
            if (q % 4 < 3)
                EXPECT_GT(towardsAxis, 0.0f) << "t " << t << " quad " << q;
            else
                EXPECT_LT(towardsAxis, 0.0f) << "t " << t << " quad " << q;
        }
    }
}

} // namespace
