// Every image and mesh the presentation loads is present in the generated set
// and has the size and shape its scene expects.
#include "assets/jpeg.h"
#include "assets/mesh.h"
#include "assets/png_image.h"
#include "assets/texture.h"
#include "support/offscreen_gl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {
std::string DataPath(const std::string &file)
{
    return std::string(QUILLANE_DATA_DIR) + "/" + file;
}

struct Rgba {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels; // 4 per pixel
    uint8_t Alpha(int x, int y) const { return pixels[(static_cast<size_t>(y) * width + x) * 4 + 3]; }
};

// A PNG through the project's decoder; empty unless it decodes with an alpha channel.
Rgba LoadRgba(const std::string &path)
{
    Rgba out;
    PngImage image;
    if (ReadPngFile(path.c_str(), 4096, image) && image.channels == 4) {
        out.width = image.width;
        out.height = image.height;
        out.pixels = std::move(image.pixels);
    }
    return out;
}

TEST(MediaImages, JpegsDecodeAtTheirIntendedSize)
{
    const std::map<std::string, int> sizes = {
        {"skyting2.jpg", 256},  {"blue.jpg", 256},      {"red.jpg", 256},          {"envmap.jpg", 256},
        {"hahastygt.jpg", 512}, {"new_jesus.jpg", 512}, {"garbage_queen.jpg", 512}};
    for (const auto &[file, side] : sizes) {
        const std::unique_ptr<Image> image(LoadJPG(DataPath(file).c_str()));
        ASSERT_NE(image, nullptr) << file;
        EXPECT_EQ(image->width, side) << file;
        EXPECT_EQ(image->height, side) << file;
        EXPECT_EQ(image->stride, side * 3) << file;
    }
}

// The frames are opaque outside the inner window (columns 8%-92%, rows 20%-80%) and clear inside it.
TEST(MediaImages, FramesAreOpaqueAroundATransparentWindow)
{
    for (const char *file :
         {"darkramme.png", "bassramme.png", "flammekasterramme.png", "gridramme1.png", "vanligramme.png"}) {
        SCOPED_TRACE(file);
        const Rgba image = LoadRgba(DataPath(file));
        ASSERT_EQ(image.width, 512);
        ASSERT_EQ(image.height, 512);
        int clearInside = 0, opaqueOutside = 0, inside = 0, outside = 0;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x) {
                const float u = (x + 0.5f) / 512, v = (y + 0.5f) / 512;
                // A margin of 5% lets decoration (flames, a vignette) reach a little over the window's edge.
                if (u > 0.13f && u < 0.87f && v > 0.25f && v < 0.75f) {
                    ++inside;
                    clearInside += image.Alpha(x, y) == 0;
                } else if (u < 0.075f || u > 0.925f || v < 0.19f || v > 0.81f) {
                    ++outside;
                    opaqueOutside += image.Alpha(x, y) == 255;
                }
            }
        EXPECT_EQ(clearInside, inside);
        EXPECT_EQ(opaqueOutside, outside);
    }
}

struct WordCase {
    const char *file;
    float rowFrom, rowTo; // where the ink must lie, as fractions of the height
    float minWidth;       // the least width of the ink, as a fraction
    float minHeight, maxHeight;
};

// Each word has a transparent background and its ink where the scene expects it.
TEST(MediaImages, WordsSitOnATransparentBackground)
{
    const WordCase cases[] = {
        {"tekst-title1.png", 0.35f, 0.65f, 0.2f, 0.06f, 0.16f},
        {"tekst-title2.png", 0.35f, 0.65f, 0.2f, 0.06f, 0.16f},
        {"tekst-title3.png", 0.35f, 0.65f, 0.2f, 0.06f, 0.16f},
        {"tekst-title4.png", 0.35f, 0.65f, 0.2f, 0.06f, 0.16f},
        {"tekst-velmora.png", 0.18f, 0.52f, 0.85f, 0.2f, 0.34f},
        {"tekst-scene.png", 0.43f, 0.67f, 0.85f, 0.12f, 0.24f},
        {"tekst-fenvall.png", 0.43f, 0.67f, 0.85f, 0.12f, 0.24f},
        {"tekst-brakkon.png", 0.43f, 0.67f, 0.85f, 0.12f, 0.24f},
        {"tekst-dunmere.png", 0.3f, 0.7f, 0.3f, 0.08f, 0.3f},
        {"tekst-code.png", 0.3f, 0.7f, 0.2f, 0.08f, 0.3f},
        {"tekst-music.png", 0.3f, 0.7f, 0.2f, 0.08f, 0.3f},
        {"tekst-graphics.png", 0.3f, 0.7f, 0.2f, 0.08f, 0.3f},
        {"tekst-pennick.png", 0.3f, 0.7f, 0.2f, 0.08f, 0.3f},
        {"tekst-holvar.png", 0.3f, 0.7f, 0.2f, 0.08f, 0.3f},
        {"tekst-traske.png", 0.3f, 0.7f, 0.2f, 0.08f, 0.3f},
    };
    for (const WordCase &c : cases) {
        SCOPED_TRACE(c.file);
        const Rgba image = LoadRgba(DataPath(c.file));
        ASSERT_EQ(image.width, 512);
        ASSERT_EQ(image.height, 512);
        // Ink: pixels of the letters themselves, fully opaque.
        int top = 512, bottom = -1, left = 512, right = -1;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                if (image.Alpha(x, y) == 255) {
                    top = std::min(top, y), bottom = std::max(bottom, y);
                    left = std::min(left, x), right = std::max(right, x);
                }
        ASSERT_GE(bottom, 0) << "no ink";
        EXPECT_GE(top, c.rowFrom * 512);
        EXPECT_LE(bottom, c.rowTo * 512);
        EXPECT_GE(right - left, c.minWidth * 512);
        EXPECT_GE(bottom - top, c.minHeight * 512);
        EXPECT_LE(bottom - top, c.maxHeight * 512);
        // Anti-aliased edges: some alpha between clear and opaque.
        int partial = 0;
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                partial += image.Alpha(x, y) > 0 && image.Alpha(x, y) < 255;
        EXPECT_GT(partial, 100);
        // The border of the picture is clear all round.
        int coveredBorder = 0;
        for (int k = 0; k < 512; ++k)
            coveredBorder +=
                (image.Alpha(k, 0) | image.Alpha(k, 511) | image.Alpha(0, k) | image.Alpha(511, k)) != 0;
        EXPECT_EQ(coveredBorder, 0);
    }
}

// ---- meshes -------------------------------------------------------------------

struct MeshCase {
    const char *file;
    float minRadius, maxRadius; // bounding radius
    int minVertices, maxVertices;
};

TEST(MediaMeshes, AreClosedOutwardFacingAndSized)
{
    const MeshCase cases[] = {
        {"twisty4.ebr", 4.5f, 5.5f, 500, 8000},      {"spiky3.ebr", 7.5f, 8.5f, 500, 8000},
        {"spiky4.ebr", 4.5f, 5.5f, 500, 8000},       {"bump.ebr", 1.3f, 1.7f, 200, 4000},
        {"bump2.ebr", 1.6f, 2.0f, 200, 4000},        {"bump3.ebr", 5.5f, 6.5f, 500, 6000},
        {"hisphere.ebr", 49.9f, 50.1f, 8000, 12000}, {"slimy.ebr", 50.0f, 56.0f, 3000, 6000},
    };
    long long trianglesInAll = 0;
    for (const MeshCase &c : cases) {
        SCOPED_TRACE(c.file);
        MessageRecorder messages;
        Mesh loaded(DataPath(c.file).c_str());
        EXPECT_TRUE(messages.messages.empty()) << "the reader refused the file";
        ASSERT_EQ(loaded.objectCount, 1);
        const SubMesh &object = *loaded.objects[0];
        struct {
            std::vector<float> positions;
            std::vector<uint32_t> indices;
        } mesh{{object.positions, object.positions + 3 * object.vertexCount},
               {object.indices, object.indices + 3 * object.triangleCount}};
        const size_t n = mesh.positions.size() / 3;
        EXPECT_GE(static_cast<int>(n), c.minVertices);
        EXPECT_LE(static_cast<int>(n), c.maxVertices);
        trianglesInAll += static_cast<long long>(mesh.indices.size() / 3);

        float radius = 0, nearest = 1e30f;
        std::set<std::tuple<float, float, float>> seen;
        size_t duplicates = 0;
        for (size_t k = 0; k < n; ++k) {
            const float x = mesh.positions[3 * k], y = mesh.positions[3 * k + 1],
                        z = mesh.positions[3 * k + 2];
            const float r = std::sqrt(x * x + y * y + z * z);
            radius = std::max(radius, r);
            nearest = std::min(nearest, r);
            duplicates += !seen.insert({x, y, z}).second;
        }
        EXPECT_GE(radius, c.minRadius);
        EXPECT_LE(radius, c.maxRadius);
        EXPECT_GT(nearest, 0.01f * radius) << "a vertex at the origin";
        EXPECT_EQ(duplicates, 0u) << "one vertex per position, no seams";

        // Closed and consistently wound: each directed edge once, and its reverse once.
        std::map<std::pair<uint32_t, uint32_t>, int> edges;
        double volume6 = 0;
        for (size_t j = 0; j + 2 < mesh.indices.size(); j += 3) {
            const uint32_t t[3] = {mesh.indices[j], mesh.indices[j + 1], mesh.indices[j + 2]};
            ASSERT_LT(t[0], n);
            ASSERT_LT(t[1], n);
            ASSERT_LT(t[2], n);
            for (int e = 0; e < 3; ++e)
                ++edges[{t[e], t[(e + 1) % 3]}];
            const float *a = &mesh.positions[3 * t[0]], *b = &mesh.positions[3 * t[1]],
                        *d = &mesh.positions[3 * t[2]];
            volume6 += a[0] * (static_cast<double>(b[1]) * d[2] - static_cast<double>(b[2]) * d[1]) -
                       a[1] * (static_cast<double>(b[0]) * d[2] - static_cast<double>(b[2]) * d[0]) +
                       a[2] * (static_cast<double>(b[0]) * d[1] - static_cast<double>(b[1]) * d[0]);
        }
        int open = 0, doubled = 0;
        for (const auto &[edge, count] : edges) {
            doubled += count != 1;
            open += !edges.count({edge.second, edge.first});
        }
        EXPECT_EQ(open, 0) << "edges used by one triangle only";
        EXPECT_EQ(doubled, 0) << "edges used twice the same way";
        EXPECT_GT(volume6, 0) << "triangles face inwards";
    }
    // All eight together stay modest for machines without a GPU.
    EXPECT_LT(trianglesInAll, 60000);
}
// Every picture loads as a GL texture through the presentation's own loader, at its own size.
class MediaTextures : public OffscreenGLTest {};

TEST_F(MediaTextures, EveryPictureLoads)
{
    const std::map<std::string, int> sides = {
        {"skyting2.jpg", 256},          {"blue.jpg", 256},          {"red.jpg", 256},
        {"hahastygt.jpg", 512},         {"envmap.jpg", 256},        {"new_jesus.jpg", 512},
        {"garbage_queen.jpg", 512},     {"darkramme.png", 512},     {"bassramme.png", 512},
        {"flammekasterramme.png", 512}, {"gridramme1.png", 512},    {"vanligramme.png", 512},
        {"tekst-code.png", 512},        {"tekst-music.png", 512},   {"tekst-graphics.png", 512},
        {"tekst-pennick.png", 512},     {"tekst-holvar.png", 512},  {"tekst-traske.png", 512},
        {"tekst-velmora.png", 512},     {"tekst-dunmere.png", 512}, {"tekst-scene.png", 512},
        {"tekst-fenvall.png", 512},     {"tekst-brakkon.png", 512}, {"tekst-title1.png", 512},
        {"tekst-title2.png", 512},      {"tekst-title3.png", 512},  {"tekst-title4.png", 512},
    };
    MessageRecorder messages;
    // The program opens "data/..." from its working directory; an absolute path
    // would let a '.' in a directory name decide the file type.
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(QUILLANE_DATA_DIR).parent_path());
    for (const auto &[file, side] : sides) {
        Texture texture(("data/" + file).c_str());
        EXPECT_TRUE(texture.loaded) << file;
        EXPECT_NE(texture.name, 0u) << file;
        EXPECT_EQ(texture.width, side) << file;
        EXPECT_EQ(texture.height, side) << file;
    }
    std::filesystem::current_path(previous);
    EXPECT_TRUE(messages.messages.empty());
}
} // namespace
