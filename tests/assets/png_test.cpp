#include <gtest/gtest.h>

#include <png.h>

#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/png_image.h"

namespace {
struct DecodeCase {
    const char *what;
    PngLayout layout;
    int channels;
    std::vector<uint8_t> expected;
};

PngLayout Layout(int width, int height, int colorType, int bitDepth, std::vector<uint8_t> rows)
{
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.colorType = colorType;
    layout.bitDepth = bitDepth;
    layout.rows = std::move(rows);
    return layout;
}

// 8x8 RGB, every pixel distinct, for the interlaced passes to scatter.
std::vector<uint8_t> Distinct(int width, int height)
{
    std::vector<uint8_t> rgb;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            rgb.insert(rgb.end(), {static_cast<uint8_t>(x * 30), static_cast<uint8_t>(y * 30),
                                   static_cast<uint8_t>(x * y)});
    return rgb;
}

std::vector<DecodeCase> DecodeCases()
{
    std::vector<DecodeCase> cases;
    cases.push_back(
        {"RGB, odd width",
         Layout(3, 2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}),
         3,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}});
    cases.push_back({"RGBA",
                     Layout(2, 1, PNG_COLOR_TYPE_RGBA, 8, {10, 20, 30, 0, 40, 50, 60, 255}),
                     4,
                     {10, 20, 30, 0, 40, 50, 60, 255}});

    PngLayout palette = Layout(4, 1, PNG_COLOR_TYPE_PALETTE, 2, {0b00011011});
    palette.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    palette.paletteAlpha = {0, 128}; // entries past the table are opaque
    cases.push_back({"2-bit palette with transparency",
                     palette,
                     4,
                     {255, 0, 0, 0, 0, 255, 0, 128, 0, 0, 255, 255, 9, 9, 9, 255}});
    PngLayout opaquePalette = Layout(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {1, 0});
    opaquePalette.palette = {1, 2, 3, 4, 5, 6};
    cases.push_back({"8-bit palette", opaquePalette, 3, {4, 5, 6, 1, 2, 3}});

    cases.push_back({"1-bit grey",
                     Layout(3, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10100000}),
                     3,
                     {255, 255, 255, 0, 0, 0, 255, 255, 255}});
    PngLayout keyedGrey = Layout(2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 90});
    keyedGrey.transparentGrey = 7;
    cases.push_back({"grey with a transparent value", keyedGrey, 4, {7, 7, 7, 0, 90, 90, 90, 255}});
    cases.push_back({"grey and alpha",
                     Layout(1, 2, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {50, 60, 70, 80}),
                     4,
                     {50, 50, 50, 60, 70, 70, 70, 80}});
    cases.push_back({"16-bit RGBA",
                     Layout(1, 1, PNG_COLOR_TYPE_RGBA, 16, {0xFF, 0xFF, 0x80, 0x80, 0, 0, 0, 0}),
                     4,
                     {255, 128, 0, 0}});
    cases.push_back({"16-bit grey",
                     Layout(2, 1, PNG_COLOR_TYPE_GRAY, 16, {0x12, 0x34, 0xFF, 0xFF}),
                     3,
                     {18, 18, 18, 255, 255, 255}});

    PngLayout interlaced = Layout(8, 8, PNG_COLOR_TYPE_RGB, 8, Distinct(8, 8));
    interlaced.interlaced = true;
    cases.push_back({"interlaced RGB", interlaced, 3, Distinct(8, 8)});
    PngLayout interlacedGrey =
        Layout(5, 3, PNG_COLOR_TYPE_GRAY, 4, {0x01, 0x23, 0x40, 0x56, 0x78, 0x90, 0xAB, 0xCD, 0xE0});
    interlacedGrey.interlaced = true;
    std::vector<uint8_t> greys;
    for (int nibble : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14})
        greys.insert(greys.end(), 3, static_cast<uint8_t>(nibble * 17));
    cases.push_back({"interlaced 4-bit grey", interlacedGrey, 3, greys});
    return cases;
}
} // namespace

TEST(PngDecoder, EveryColourTypeAndDepthEndsAsRgbOrRgba)
{
    for (const DecodeCase &c : DecodeCases()) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> file = EncodePng(c.layout);
        PngImage image;
        ASSERT_TRUE(DecodePng(file.data(), file.size(), 64, image));
        EXPECT_EQ(image.width, c.layout.width);
        EXPECT_EQ(image.height, c.layout.height);
        EXPECT_EQ(image.channels, c.channels);
        EXPECT_EQ(image.bitDepth, c.layout.bitDepth);
        EXPECT_EQ(image.pixels, c.expected);
    }
}

TEST(PngDecoder, DamagedOrOversizedFilesFailQuietly)
{
    const std::vector<uint8_t> good = EncodePng(Layout(8, 8, PNG_COLOR_TYPE_RGB, 8, Distinct(8, 8)));
    PngImage image;
    ASSERT_TRUE(DecodePng(good.data(), good.size(), 8, image));

    testing::internal::CaptureStderr();
    EXPECT_FALSE(DecodePng(good.data(), good.size(), 7, image)) << "wider than the limit";
    for (size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(DecodePng(good.data(), length, 64, image)) << "cut to " << length << " bytes";
        EXPECT_TRUE(image.pixels.empty());
    }
    std::vector<uint8_t> badCrc = good;
    badCrc[29] ^= 0x01; // inside the header chunk's CRC
    EXPECT_FALSE(DecodePng(badCrc.data(), badCrc.size(), 64, image));
    // A small file can claim a picture larger than any texture.
    const std::vector<uint8_t> wide =
        EncodePng(Layout(20000, 1, PNG_COLOR_TYPE_GRAY, 8, std::vector<uint8_t>(20000)));
    EXPECT_FALSE(DecodePng(wide.data(), wide.size(), 16384, image));
    const std::vector<uint8_t> garbage(100, 0x5A);
    EXPECT_FALSE(DecodePng(garbage.data(), garbage.size(), 64, image));
    EXPECT_FALSE(DecodePng(nullptr, 0, 64, image));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "a failed PNG says nothing";

    EXPECT_FALSE(ReadPngFile("/nonexistent/quillane/absent.png", 64, image));
}

TEST(PngDecoder, DensestCompressionIsNotMistakenForDamage)
{
    // Zeros at deflate's best ratio, about 1000 to 1: the size check must let them through.
    const std::vector<uint8_t> file =
        EncodePng(Layout(2048, 2048, PNG_COLOR_TYPE_RGBA, 8, std::vector<uint8_t>(2048 * 2048 * 4)));
    ASSERT_LT(file.size(), 2048u * 2048 * 4 / 900) << "not as dense as meant";
    PngImage image;
    ASSERT_TRUE(DecodePng(file.data(), file.size(), 2048, image));
    EXPECT_EQ(image.pixels.size(), 2048u * 2048 * 4);
}
