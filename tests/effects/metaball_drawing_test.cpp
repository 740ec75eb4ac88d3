#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "assets/png_writer.h"
#include "ball_table_guard.h"
#include "effects/metaballs.h"
#include "gl_feedback.h"
#include "support/offscreen_gl.h"

namespace {

bool SameTriangles(const TriangleList &a, const TriangleList &b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(IsoTriangle)) == 0;
}

// The triangles a fresh lattice builds from the balls where they stand now.
TriangleList SurfaceOfCurrentBalls()
{
    Metaballs grid(30, 1.0f, BallField);
    grid.Polygonize();
    return grid.triangles;
}

TEST(MetaballAnimation, MovesTheBallsAfterBuildingTheSurface)
{
    BallTableGuard guard;
    BallTableGuard::LoadInitialTable();
    const TriangleList initialSurface = SurfaceOfCurrentBalls();

    AnimateBalls(0.0f);
    EXPECT_TRUE(SameTriangles(metaballs.triangles, initialSurface));
    const float expected[kBallCount][3] = {
        {0, 0, 0},          {0, 0, 0},          {0, 0, 0},          {0, 0, 0},          {0, 0, 0},
        {0.2f, 0.4f, 0.3f}, {0.4f, 0.5f, 0.3f}, {0.6f, 0.1f, 0.5f}, {0.4f, 0.2f, 0.5f}, {0.4f, 0.3f, 0.4f},
    };
    const float strengths[kBallCount] = {0.2f, 0.25f, 0.3f, 0.25f, 0.2f, 0.15f, 0.2f, 0.15f, 0.15f, 0.2f};
    for (int b = 0; b < kBallCount; ++b) {
        EXPECT_EQ(balls[b].x, expected[b][0]) << "ball " << b;
        EXPECT_EQ(balls[b].y, expected[b][1]) << "ball " << b;
        EXPECT_EQ(balls[b].z, expected[b][2]) << "ball " << b;
        EXPECT_EQ(balls[b].strength, strengths[b]) << "ball " << b;
    }

    // The same time again: now the surface shows the positions of that time.
    const TriangleList movedSurface = SurfaceOfCurrentBalls();
    AnimateBalls(0.0f);
    EXPECT_TRUE(SameTriangles(metaballs.triangles, movedSurface));
    EXPECT_FALSE(SameTriangles(movedSurface, initialSurface));
}

TEST(MetaballAnimation, MotionFormulas)
{
    BallTableGuard guard;
    const float t = 123.5f;
    AnimateBalls(t);
    // Spot checks across the table: ball 2's z (0.5 sin(k7 t)), ball 6's y
    // (0.5 cos(k5 t)), ball 9's x shared with ball 6 but not its y.
    EXPECT_EQ(balls[2].z, static_cast<float>(0.5 * std::sin(static_cast<double>(0.033333335f * t))));
    EXPECT_EQ(balls[6].y, static_cast<float>(0.5 * std::cos(static_cast<double>(0.0125f * t))));
    EXPECT_EQ(balls[9].x, balls[6].x);
    EXPECT_EQ(balls[1].x, balls[4].x);
    EXPECT_NE(balls[9].y, balls[6].y);
    for (const Metaball &ball : balls)
        for (float c : {ball.x, ball.y, ball.z})
            EXPECT_LE(std::fabs(c), 0.6f);
}

class MetaballDrawing : public OffscreenGLTest {
  protected:
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        saved = metaballs.triangles;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glViewport(0, 0, 800, 600);
        glDisable(GL_LIGHTING);
    }
    void TearDown() override { metaballs.triangles = saved; }

    static IsoTriangle Triangle(Vec3 a, Vec3 b, Vec3 c) { return {{a, b, c}, {0, 0, 1}}; }

    TriangleList saved;
};

// Window position of a point given in normalised device coordinates.
float WindowX(float x)
{
    return (x + 1.0f) * 400.0f;
}

TEST_F(MetaballDrawing, OneLineStreamPairsVerticesAcrossTriangles)
{
    metaballs.triangles = {
        Triangle({0.5f, 0, 0}, {0.1f, 0, 0}, {0.2f, 0, 0}),
        Triangle({0.3f, 0, 0}, {0.4f, 0, 0}, {-0.5f, 0, 0}),
        Triangle({-0.1f, 0, 0}, {-0.2f, 0, 0}, {-0.3f, 0, 0}),
    };
    const auto primitives = CaptureFeedback([] { metaballs.Draw(); });
    ASSERT_EQ(primitives.size(), 4u); // nine vertices: the ninth has no partner
    const float pairs[4][2] = {{0.5f, 0.1f}, {0.2f, 0.3f}, {0.4f, -0.5f}, {-0.1f, -0.2f}};
    for (int s = 0; s < 4; ++s) {
        ASSERT_EQ(primitives[s].vertices.size(), 2u);
        EXPECT_NEAR(primitives[s].vertices[0].x, WindowX(pairs[s][0]), 1e-3f) << "segment " << s;
        EXPECT_NEAR(primitives[s].vertices[1].x, WindowX(pairs[s][1]), 1e-3f) << "segment " << s;
    }
    const FeedbackVertex &first = primitives[0].vertices[0];
    EXPECT_NEAR(first.r, 0.55f, 1e-6f);
    EXPECT_NEAR(first.g, 0.55f, 1e-6f);
    EXPECT_NEAR(first.b, 0.35f, 1e-6f);
    const FeedbackVertex &second = primitives[0].vertices[1]; // r2 = 0.01
    EXPECT_NEAR(second.r, 0.31f, 1e-6f);
    EXPECT_NEAR(second.b, 0.11f, 1e-6f);

    metaballs.triangles.clear();
    EXPECT_TRUE(CaptureFeedback([] { metaballs.Draw(); }).empty());
}

TEST_F(MetaballDrawing, DrawMetaballsLeavesItsStates)
{
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    glEnable(GL_BLEND);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_DEPTH_TEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 0);
    metaballs.triangles = {Triangle({0.5f, 0, 0}, {0.1f, 0, 0}, {0.2f, 0, 0})};
    DrawMetaballs();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING)); // untouched
    GLint twoSide = 0;
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, &twoSide);
    EXPECT_EQ(twoSide, 1);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour); // the last vertex's, (0.2, 0, 0)
    EXPECT_NEAR(colour[0], 0.34f, 1e-6f);
    EXPECT_NEAR(colour[2], 0.14f, 1e-6f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// A frame of the effect as the metaball scene shows it, written out as a PNG
// to look at: the lit, coloured line surface of the ten balls in motion.
TEST_F(MetaballDrawing, RendersTheLitLineSurface)
{
    BallTableGuard guard;
    BallTableGuard::LoadInitialTable();
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1.0f};
    const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
    const GLfloat position[] = {0.0f, 0.0f, 100.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glDepthFunc(GL_LEQUAL);

    const float p = 130.0f; // the scene's parameter, time x 0.2
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.3333333333333333, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 2, 0, 0, 0, 0, 1, 0);
    glTranslatef(-0.2f, 0.0f, 0.0f);
    glRotatef(20.0f * p, 1.0f, 0.5f, 1.0f);
    glClearColor(1, 1, 1, 0);
    AnimateBalls(25.0f * (p - 0.2f));
    AnimateBalls(25.0f * p);
    ASSERT_GT(metaballs.triangles.size(), 500u);
    DrawMetaballs();
    glDisable(GL_LIGHTING);
    glLoadIdentity();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    std::vector<uint8_t> pixels(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    std::vector<uint8_t> topFirst(pixels.size());
    for (int y = 0; y < 600; ++y)
        std::memcpy(&topFirst[y * 2400], &pixels[(599 - y) * 2400], 2400);
    ASSERT_TRUE(
        WritePng(std::string(EFFECTS_TEST_OUTPUT_DIR) + "/metaballs.png", topFirst.data(), 800, 600, 3));

    // Lines cover part of the white frame, tinted by their colour, and leave
    // the corners of the frame free.
    int drawn = 0;
    int tinted = 0;
    int inTheCorners = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const uint8_t *px = &pixels[(y * 800 + x) * 3];
            if (px[0] == 255 && px[1] == 255 && px[2] == 255)
                continue;
            ++drawn;
            tinted += px[2] + 20 < px[0];
            inTheCorners += (x < 40 || x >= 760) && (y < 40 || y >= 560);
        }
    EXPECT_GT(drawn, 5000);
    EXPECT_LT(drawn, 800 * 600 / 2);
    EXPECT_GT(tinted, 1000); // yellowish: less blue than red
    EXPECT_EQ(inTheCorners, 0);
}

} // namespace
