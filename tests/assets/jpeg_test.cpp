#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/jpeg.h"
#include "support/offscreen_gl.h"

namespace {
// Rows [0, split) one colour, the rest another: the top is told from the bottom.
std::vector<uint8_t> TwoBands(int width, int height, int split, const uint8_t top[3], const uint8_t bottom[3])
{
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y) {
        const uint8_t *colour = y < split ? top : bottom;
        for (int x = 0; x < width; ++x)
            pixels.insert(pixels.end(), colour, colour + 3);
    }
    return pixels;
}

void ExpectColour(const uint8_t *pixel, int r, int g, int b)
{
    EXPECT_NEAR(pixel[0], r, 6);
    EXPECT_NEAR(pixel[1], g, 6);
    EXPECT_NEAR(pixel[2], b, 6);
}

const uint8_t kRed[3] = {255, 0, 0};
const uint8_t kBlue[3] = {0, 0, 255};
} // namespace

TEST(JpegReader, ColourFileGivesPackedRowsTopFirst)
{
    TempDir dir;
    const std::string path = dir.Path("bands.jpg");
    ASSERT_TRUE(WriteJpeg(path, TwoBands(640, 480, 240, kRed, kBlue), 640, 480, 3));

    MessageRecorder recorder;
    std::unique_ptr<Image> image(LoadJPG(path.c_str()));
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_EQ(image->width, 640);
    EXPECT_EQ(image->height, 480);
    EXPECT_EQ(image->stride, 1920);
    for (int y : {0, 100, 239})
        for (int x : {0, 321, 639})
            ExpectColour(image->pixels + y * 1920 + x * 3, 255, 0, 0);
    for (int y : {240, 400, 479})
        for (int x : {0, 320, 639})
            ExpectColour(image->pixels + y * 1920 + x * 3, 0, 0, 255);
}

TEST(JpegReader, GreyFileHasOneComponentPerPixel)
{
    TempDir dir;
    const std::string path = dir.Path("grey.jpg");
    std::vector<uint8_t> grey(7 * 5, 200);
    ASSERT_TRUE(WriteJpeg(path, grey, 7, 5, 1));
    std::unique_ptr<Image> image(LoadJPG(path.c_str()));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->stride, 7);
    EXPECT_NEAR(image->pixels[7 * 5 - 1], 200, 3);
}

TEST(JpegReader, MissingFileIsReported)
{
    TempDir dir;
    const std::string path = dir.Path("absent.jpg");
    MessageRecorder recorder;
    EXPECT_EQ(LoadJPG(path.c_str()), nullptr);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Unable to load JPG File!");
    EXPECT_EQ(recorder.messages[0].caption, path);
}

TEST(JpegReader, PictureOverTheSizeLimitIsReportedNotDecoded)
{
    TempDir dir;
    const std::string path = dir.Path("wide.jpg");
    ASSERT_TRUE(WriteJpeg(path, std::vector<uint8_t>(64 * 16 * 3, 90), 64, 16, 3));
    {
        MessageRecorder recorder;
        EXPECT_EQ(LoadJPG(path.c_str(), 63), nullptr);
        ASSERT_EQ(recorder.messages.size(), 1u);
        EXPECT_EQ(recorder.messages[0].text, "JPG File is too large!");
        EXPECT_EQ(recorder.messages[0].caption, path);
    }
    MessageRecorder recorder;
    std::unique_ptr<Image> atLimit(LoadJPG(path.c_str(), 64));
    ASSERT_NE(atLimit, nullptr);
    EXPECT_EQ(atLimit->width, 64);
    EXPECT_TRUE(recorder.messages.empty());
}

TEST(JpegReader, FileThatEndsEarlyStillDecodes)
{
    TempDir dir;
    const std::string whole = dir.Path("whole.jpg");
    ASSERT_TRUE(WriteJpeg(whole, TwoBands(64, 64, 32, kRed, kBlue), 64, 64, 3));
    std::FILE *file = std::fopen(whole.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::vector<uint8_t> bytes(1 << 16);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    // Cut halfway through the scan data, after the headers.
    size_t scan = 0;
    while (scan + 1 < bytes.size() && !(bytes[scan] == 0xFF && bytes[scan + 1] == 0xDA))
        ++scan;
    ASSERT_LT(scan + 1, bytes.size());
    bytes.resize(scan + (bytes.size() - scan) / 2);
    const std::string cut = dir.Path("cut.jpg");
    ASSERT_TRUE(WriteBytes(cut, bytes));

    // The library warns on standard error and fills in the missing rows.
    std::unique_ptr<Image> image(LoadJPG(cut.c_str()));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->height, 64);
    ExpectColour(image->pixels, 255, 0, 0);
}

TEST(JpegReaderDeathTest, FileThatIsNotAJpegEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TempDir dir;
    const std::string path = dir.Path("fake.jpg");
    ASSERT_TRUE(WriteBytes(path, {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'}));
    EXPECT_EXIT(LoadJPG(path.c_str()), ::testing::ExitedWithCode(1), "Not a JPEG file");
}
