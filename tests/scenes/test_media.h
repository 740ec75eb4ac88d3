#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/ebr_writer.h"

struct Rgb {
    uint8_t r, g, b;
};

// Test media: every file of the resource set under DIR/data, made of flat
// colours and simple shapes so that a probe can tell what lies where.
//  - JPEG pictures: one flat colour each.
//  - Frame PNGs (*ramme*): an opaque band around the border, an eighth of the
//    side wide, and a transparent inside.
//  - Word PNGs (tekst-*): an opaque block over the middle half of each side,
//    transparent around it.
//  - Meshes: cubes, except the two spheres (radius 50) that the ripple and
//    the slime deform.
// No soundtrack: the run goes on silent, as it does when the file is missing.
class TestMedia {
  public:
    TestMedia();  // writes the files into a fresh temporary directory
    ~TestMedia(); // removes it

    TestMedia(const TestMedia &) = delete;
    TestMedia &operator=(const TestMedia &) = delete;

    const std::filesystem::path &Directory() const { return directory; }

    // The flat colour of a picture, by its file name ("red.jpg", "tekst-title1.png").
    static Rgb ColourOf(const std::string &file);

  private:
    std::filesystem::path directory;
};

// Makes the media directory the working directory while it lives, since the
// resource set opens its files by relative paths.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path &path);
    ~WorkingDirectory();

  private:
    std::filesystem::path previous;
};

// Flat-colour files and simple meshes, for tests that need one of their own.
bool WriteFlatJpeg(const std::string &path, int width, int height, Rgb colour);
bool WriteFramePng(const std::string &path, int size, Rgb colour);
bool WriteWordPng(const std::string &path, int size, Rgb colour);
// A cube of the given half side around the origin, counter-clockwise from outside.
EbrObject CubeObject(float halfSide);
// A sphere of latitude rings with one vertex per position (no seams).
EbrObject SphereObject(float radius, int rings, int segments);
