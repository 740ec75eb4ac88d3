#include "test_media.h"

#include "assets/jpeg_writer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>

#include "assets/png_writer.h"

namespace fs = std::filesystem;

namespace {

// Distinct, fully saturated-free colours so blends and lighting stay tellable.
const std::map<std::string, Rgb> &Colours()
{
    static const std::map<std::string, Rgb> colours = {
        {"skyting2.jpg", {40, 160, 40}},
        {"blue.jpg", {40, 40, 200}},
        {"red.jpg", {200, 40, 40}},
        {"hahastygt.jpg", {200, 120, 40}},
        {"envmap.jpg", {120, 120, 120}},
        {"new_jesus.jpg", {160, 40, 160}},
        {"garbage_queen.jpg", {40, 160, 160}},
        {"darkramme.png", {20, 20, 20}},
        {"bassramme.png", {80, 0, 0}},
        {"flammekasterramme.png", {250, 100, 0}},
        {"gridramme1.png", {0, 80, 0}},
        {"vanligramme.png", {0, 0, 80}},
        {"tekst-code.png", {10, 200, 200}},
        {"tekst-music.png", {200, 10, 200}},
        {"tekst-graphics.png", {200, 200, 10}},
        {"tekst-pennick.png", {100, 50, 150}},
        {"tekst-holvar.png", {150, 100, 50}},
        {"tekst-traske.png", {50, 150, 100}},
        {"tekst-velmora.png", {250, 200, 0}},
        {"tekst-dunmere.png", {0, 200, 250}},
        {"tekst-scene.png", {200, 0, 250}},
        {"tekst-fenvall.png", {250, 0, 120}},
        {"tekst-brakkon.png", {120, 250, 0}},
        {"tekst-title1.png", {255, 60, 60}},
        {"tekst-title2.png", {60, 255, 60}},
        {"tekst-title3.png", {60, 60, 255}},
        {"tekst-title4.png", {255, 255, 60}},
    };
    return colours;
}

} // namespace

Rgb TestMedia::ColourOf(const std::string &file)
{
    const auto found = Colours().find(file);
    return found == Colours().end() ? Rgb{0, 0, 0} : found->second;
}

bool WriteFlatJpeg(const std::string &path, int width, int height, Rgb colour)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); i += 3) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
    }
    return WriteJpeg(path, pixels.data(), width, height, 3, 95);
}

namespace {

template <typename Opaque> bool WriteShapePng(const std::string &path, int size, Rgb colour, Opaque opaque)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 4);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            uint8_t *p = &pixels[(static_cast<size_t>(y) * size + x) * 4];
            p[0] = colour.r;
            p[1] = colour.g;
            p[2] = colour.b;
            p[3] = opaque(x, y) ? 255 : 0;
        }
    }
    return WritePng(path, pixels.data(), size, size, 4);
}

} // namespace

bool WriteFramePng(const std::string &path, int size, Rgb colour)
{
    const int band = size / 8;
    return WriteShapePng(path, size, colour, [&](int x, int y) {
        return x < band || y < band || x >= size - band || y >= size - band;
    });
}

bool WriteWordPng(const std::string &path, int size, Rgb colour)
{
    return WriteShapePng(path, size, colour, [&](int x, int y) {
        return x >= size / 4 && x < 3 * size / 4 && y >= size / 4 && y < 3 * size / 4;
    });
}

EbrObject CubeObject(float halfSide)
{
    EbrObject cube;
    cube.name = "cube";
    const float h = halfSide;
    // Four vertices per face so each face carries the whole texture.
    const float faces[6][4][3] = {
        {{-h, -h, h}, {h, -h, h}, {h, h, h}, {-h, h, h}},     // +z
        {{h, -h, -h}, {-h, -h, -h}, {-h, h, -h}, {h, h, -h}}, // -z
        {{h, -h, h}, {h, -h, -h}, {h, h, -h}, {h, h, h}},     // +x
        {{-h, -h, -h}, {-h, -h, h}, {-h, h, h}, {-h, h, -h}}, // -x
        {{-h, h, h}, {h, h, h}, {h, h, -h}, {-h, h, -h}},     // +y
        {{-h, -h, -h}, {h, -h, -h}, {h, -h, h}, {-h, -h, h}}, // -y
    };
    const float st[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int f = 0; f < 6; ++f) {
        const uint32_t base = static_cast<uint32_t>(cube.positions.size() / 3);
        for (int v = 0; v < 4; ++v) {
            cube.positions.insert(cube.positions.end(), faces[f][v], faces[f][v] + 3);
            cube.texCoords.insert(cube.texCoords.end(), st[v], st[v] + 2);
        }
        cube.indices.insert(cube.indices.end(), {base, base + 1, base + 2, base, base + 2, base + 3});
    }
    return cube;
}

EbrObject SphereObject(float radius, int rings, int segments)
{
    EbrObject sphere;
    sphere.name = "sphere";
    const double pi = std::acos(-1.0);
    // The poles, then the rings between them, from the top down.
    sphere.positions = {0, radius, 0, 0, -radius, 0};
    sphere.texCoords = {0.5f, 0, 0.5f, 1};
    for (int r = 1; r < rings; ++r) {
        const double theta = pi * r / rings;
        for (int s = 0; s < segments; ++s) {
            const double phi = 2 * pi * s / segments;
            sphere.positions.push_back(static_cast<float>(radius * std::sin(theta) * std::cos(phi)));
            sphere.positions.push_back(static_cast<float>(radius * std::cos(theta)));
            sphere.positions.push_back(static_cast<float>(-radius * std::sin(theta) * std::sin(phi)));
            sphere.texCoords.push_back(static_cast<float>(s) / segments);
            sphere.texCoords.push_back(static_cast<float>(r) / rings);
        }
    }
    const auto ring = [&](int r, int s) {
        return static_cast<uint32_t>(2 + (r - 1) * segments + s % segments);
    };
    for (int s = 0; s < segments; ++s) {
        sphere.indices.insert(sphere.indices.end(), {0, ring(1, s), ring(1, s + 1)});
        sphere.indices.insert(sphere.indices.end(), {1, ring(rings - 1, s + 1), ring(rings - 1, s)});
        for (int r = 1; r + 1 < rings; ++r) {
            sphere.indices.insert(sphere.indices.end(), {ring(r, s), ring(r + 1, s), ring(r + 1, s + 1)});
            sphere.indices.insert(sphere.indices.end(), {ring(r, s), ring(r + 1, s + 1), ring(r, s + 1)});
        }
    }
    return sphere;
}

TestMedia::TestMedia()
{
    std::random_device random;
    directory = fs::temp_directory_path() / ("quillane-media-" + std::to_string(random()));
    const fs::path data = directory / "data";
    fs::create_directories(data);
    bool ok = true;
    for (const auto &[file, colour] : Colours()) {
        const std::string path = (data / file).string();
        if (file.ends_with(".jpg"))
            ok = WriteFlatJpeg(path, 64, 64, colour) && ok;
        else if (file.find("ramme") != std::string::npos)
            ok = WriteFramePng(path, 64, colour) && ok;
        else
            ok = WriteWordPng(path, 64, colour) && ok;
    }
    for (const char *file : {"spiky3.ebr", "spiky4.ebr", "bump3.ebr", "bump2.ebr", "bump.ebr", "twisty4.ebr"})
        ok = WriteEbr((data / file).string(), {CubeObject(2.0f)}) && ok;
    for (const char *file : {"hisphere.ebr", "slimy.ebr"})
        ok = WriteEbr((data / file).string(), {SphereObject(50.0f, 16, 24)}) && ok;
    if (!ok) {
        std::fprintf(stderr, "cannot write the test media in %s\n", directory.c_str());
        std::abort();
    }
}

TestMedia::~TestMedia()
{
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

WorkingDirectory::WorkingDirectory(const fs::path &path) : previous(fs::current_path())
{
    fs::current_path(path);
}

WorkingDirectory::~WorkingDirectory()
{
    std::error_code ignored;
    fs::current_path(previous, ignored);
}
