#include "whole_word_media.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "assets/ebr_writer.h"
#include "assets/png_writer.h"
#include "test_media.h"

namespace {

constexpr int kSide = 16;

void WriteFlatPng(const std::filesystem::path &path, Rgb colour, uint8_t alpha)
{
    std::vector<uint8_t> pixels(kSide * kSide * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = colour.r;
        pixels[i + 1] = colour.g;
        pixels[i + 2] = colour.b;
        pixels[i + 3] = alpha;
    }
    if (!WritePng(path.string(), pixels.data(), kSide, kSide, 4))
        throw std::runtime_error("cannot write " + path.string());
}

EbrObject Square()
{
    EbrObject square;
    square.name = "square";
    square.positions = {-5, -5, 0, 5, -5, 0, 5, 5, 0, -5, 5, 0};
    square.texCoords = {0, 1, 1, 1, 1, 0, 0, 0};
    // Read in pairs by the wire draw: the bottom edge, nothing, the left edge.
    square.indices = {0, 1, 2, 2, 3, 0};
    return square;
}

} // namespace

void MakeWordsWhole(const std::filesystem::path &directory)
{
    const std::filesystem::path data = directory / "data";
    for (const char *word : {"code", "music", "graphics", "pennick", "holvar", "traske", "velmora", "dunmere",
                             "scene", "fenvall", "brakkon", "title1", "title2", "title3", "title4"}) {
        const std::string file = std::string("tekst-") + word + ".png";
        WriteFlatPng(data / file, TestMedia::ColourOf(file), 255);
    }
    for (const char *frame :
         {"darkramme.png", "bassramme.png", "flammekasterramme.png", "gridramme1.png", "vanligramme.png"})
        WriteFlatPng(data / frame, {255, 255, 255}, 0);
    if (!WriteEbr((data / "spiky3.ebr").string(), {Square()}))
        throw std::runtime_error("cannot write the square mesh");
}
