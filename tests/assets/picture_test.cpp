#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/ebr_writer.h"
#include "assets/geometry.h"
#include "assets/mesh.h"
#include "assets/png_writer.h"
#include "assets/texture.h"
#include "support/offscreen_gl.h"

namespace {
// A unit sphere of stacks and slices, counter-clockwise seen from outside.
EbrObject Sphere(int stacks, int slices)
{
    EbrObject sphere{"sphere", {}, {}, {}};
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j) {
            const double theta = std::numbers::pi * i / stacks;
            const double phi = 2 * std::numbers::pi * j / slices;
            sphere.positions.insert(sphere.positions.end(),
                                    {static_cast<float>(std::sin(theta) * std::sin(phi)),
                                     static_cast<float>(std::cos(theta)),
                                     static_cast<float>(std::sin(theta) * std::cos(phi))});
            sphere.texCoords.insert(sphere.texCoords.end(),
                                    {static_cast<float>(j) / slices, static_cast<float>(i) / stacks});
        }
    const auto at = [&](int i, int j) { return static_cast<uint32_t>(i * (slices + 1) + j); };
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j)
            sphere.indices.insert(sphere.indices.end(), {at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j),
                                                         at(i + 1, j + 1), at(i, j + 1)});
    return sphere;
}

// A reflection map: sky in the rows sphere mapping sends upwards, ground
// below, a hot spot, and dark bands so the reflection's curvature shows.
std::vector<uint8_t> ReflectionMap(int size)
{
    std::vector<uint8_t> rgb;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double up = double(y) / (size - 1); // t grows downwards in the file, upwards on the sphere
            double r = up > 0.5 ? 40 + 120 * (up - 0.5) : 150 - 160 * (0.5 - up);
            double g = up > 0.5 ? 120 + 200 * (up - 0.5) : 110 - 120 * (0.5 - up);
            double b = up > 0.5 ? 230 : 70 - 80 * (0.5 - up);
            if ((x / (size / 8)) % 2 == 0 && up < 0.5) {
                r *= 0.6;
                g *= 0.6;
                b *= 0.6;
            }
            const double spot = std::hypot(x - size * 0.3, y - size * 0.75) / (size * 0.1);
            const double hot = 255 * std::exp(-spot * spot);
            rgb.push_back(static_cast<uint8_t>(std::clamp(r + hot, 0.0, 255.0)));
            rgb.push_back(static_cast<uint8_t>(std::clamp(g + hot, 0.0, 255.0)));
            rgb.push_back(static_cast<uint8_t>(std::clamp(b + hot, 0.0, 255.0)));
        }
    return rgb;
}

constexpr uint8_t kOrange[3] = {255, 140, 0};
constexpr uint8_t kMagenta[3] = {230, 0, 200};

// A frame overlay: opaque orange border, clear inside, a half-transparent disc.
std::vector<uint8_t> FrameOverlay(int size)
{
    std::vector<uint8_t> rgba;
    const int border = size / 10;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const bool edge = x < border || y < border || x >= size - border || y >= size - border;
            const bool disc = std::hypot(x - size / 2 + 0.5, y - size / 2 + 0.5) < size * 0.22;
            if (edge)
                rgba.insert(rgba.end(), {kOrange[0], kOrange[1], kOrange[2], 255});
            else if (disc)
                rgba.insert(rgba.end(), {kMagenta[0], kMagenta[1], kMagenta[2], 128});
            else
                rgba.insert(rgba.end(), {0, 0, 0, 0});
        }
    return rgba;
}

int Brightness(const std::vector<uint8_t> &rgba)
{
    return rgba[0] + rgba[1] + rgba[2];
}
} // namespace

using AssetPictureTest = OffscreenGLTest;

// Draws what the scenes draw with these assets and keeps the frame as a PNG.
TEST_F(AssetPictureTest, LitSphereMappedMeshUnderABlendedBillboard)
{
    TempDir dir;
    ASSERT_TRUE(WriteEbr(dir.Path("sphere.ebr"), {Sphere(24, 32)}));
    ASSERT_TRUE(WriteJpeg(dir.Path("chrome.jpg"), ReflectionMap(256), 256, 256, 3));
    ASSERT_TRUE(WriteBytes(dir.Path("frame.png"), EncodeRgbaPng(FrameOverlay(256), 256, 256)));
    MessageRecorder recorder;
    Mesh sphere(dir.Path("sphere.ebr").c_str());
    Texture chrome(dir.Path("chrome.jpg").c_str());
    Texture frame(dir.Path("frame.png").c_str());
    ASSERT_TRUE(recorder.messages.empty());
    ASSERT_EQ(sphere.objectCount, 1);

    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 800.0 / 600.0, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.05f, 0.05f, 0.1f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);
    const GLfloat lightPosition[] = {-1.0f, 1.0f, 1.0f, 0.0f};
    const GLfloat ambient[] = {0.15f, 0.15f, 0.15f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);

    // The sphere: 50 units across at 200 units, left of centre (screen x 291, radius ~181).
    glPushMatrix();
    glTranslatef(-30.0f, 0.0f, -200.0f);
    glScalef(50.0f, 50.0f, 50.0f);
    chrome.Bind();
    EnableSphereMap();
    sphere.Draw();
    DisableSphereMap();
    chrome.Unbind();
    glPopMatrix();

    const std::vector<uint8_t> sphereUnderDisc = ReadPixel(430, 300);
    const std::vector<uint8_t> lit = ReadPixel(200, 390);
    const std::vector<uint8_t> shaded = ReadPixel(400, 190);
    const std::vector<uint8_t> background = ReadPixel(60, 560);

    // The overlay, through the blend: its square spans about x 255-738, y 59-541.
    frame.BeginBlend();
    frame.DrawBillboard(60.0f, 0.0f, -350.0f);
    frame.EndBlend();
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);

    std::vector<uint8_t> rows(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
    std::vector<uint8_t> topFirst(rows.size());
    for (int y = 0; y < 600; ++y)
        std::copy_n(rows.begin() + (599 - y) * 2400, 2400, topFirst.begin() + y * 2400);
    const std::string picture = std::string(QUILLANE_TEST_OUTPUT_DIR) + "/assets_picture.png";
    EXPECT_TRUE(WritePng(picture, topFirst.data(), 800, 600, 3)) << picture;

    // The sphere stands out from the background and its light falls from the upper left.
    EXPECT_GT(Brightness(lit), Brightness(background) + 60);
    EXPECT_GT(Brightness(lit), Brightness(shaded) + 60);
    // The overlay: opaque border, clear inside, the disc half over the sphere.
    const std::vector<uint8_t> border = ReadPixel(725, 300);
    const std::vector<uint8_t> clear = ReadPixel(660, 470);
    const std::vector<uint8_t> blended = ReadPixel(430, 300);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(border[c], kOrange[c], 2) << "border, channel " << c;
        EXPECT_NEAR(clear[c], background[c], 2) << "clear inside, channel " << c;
        const double half = 128.0 / 255.0;
        EXPECT_NEAR(blended[c], half * kMagenta[c] + (1 - half) * sphereUnderDisc[c], 3)
            << "disc, channel " << c;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
