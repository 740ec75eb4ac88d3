#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "driver/fixed_step.h"

namespace fs = std::filesystem;

namespace {
fs::path FreshDirectory(const std::string &name)
{
    const fs::path dir = fs::temp_directory_path() / ("quillane-" + name + "-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

struct PngPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

PngPicture ReadRgbPng(const fs::path &path)
{
    PngPicture picture;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str())) {
        image.format = PNG_FORMAT_RGB;
        picture.rgb.resize(PNG_IMAGE_SIZE(image));
        if (png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
            picture.width = static_cast<int>(image.width);
            picture.height = static_cast<int>(image.height);
        }
    }
    return picture;
}
} // namespace

TEST(ShotSink, WritesTheChosenPassesTopRowFirstAndEndsAfterTheLast)
{
    const fs::path dir = FreshDirectory("sink");
    FixedStepClock clock(4, 1);
    ShotSink sink(clock, dir.string(), {0.5, 0.25, 0.5}); // passes 2 and 1; the repeat is one shot
    const int width = 2, height = 2;
    // Bottom-up, as glReadPixels gives it: the bottom row red, the top row blue.
    const uint8_t frame[] = {255, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 255};
    clock.SetPass(0);
    EXPECT_TRUE(sink.TakeFrame(frame, width, height));
    clock.SetPass(1);
    EXPECT_TRUE(sink.TakeFrame(frame, width, height));
    clock.SetPass(2);
    EXPECT_FALSE(sink.TakeFrame(frame, width, height)) << "nothing left to shoot";
    EXPECT_TRUE(sink.Complete());
    ASSERT_EQ(sink.Written().size(), 2u);
    EXPECT_EQ(fs::path(sink.Written()[0]).filename(), "000.250.png");
    EXPECT_EQ(fs::path(sink.Written()[1]).filename(), "000.500.png");
    const PngPicture picture = ReadRgbPng(sink.Written()[0]);
    ASSERT_EQ(picture.width, 2);
    EXPECT_EQ(picture.rgb[2], 255) << "the top row of the file is the top of the frame (blue)";
    EXPECT_EQ(picture.rgb[6 + 0], 255) << "the bottom row is red";
    fs::remove_all(dir);
}

TEST(ShotSink, AnUnwritableDirectoryFails)
{
    FixedStepClock clock(1, 1);
    ShotSink sink(clock, "/proc/no-such-dir", {0.0});
    const uint8_t frame[3] = {};
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sink.TakeFrame(frame, 1, 1));
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(sink.Complete());
}

TEST(Shots, TheProgramWritesThreeFramesOfThreeWindows)
{
    const fs::path dir = FreshDirectory("shots");
    // The child's GL driver is unloaded at exit, which LeakSanitizer would take for leaks.
    const std::string command = std::string("SDL_VIDEODRIVER=offscreen ASAN_OPTIONS=detect_leaks=0 ") +
                                QUILLANE_BINARY + " -C " + dir.string() +
                                " --shots shots --at 5,62.5,224 --fps 2 >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<PngPicture> pictures;
    for (const char *name : {"005.000.png", "062.500.png", "224.000.png"}) {
        pictures.push_back(ReadRgbPng(dir / "shots" / name));
        EXPECT_EQ(pictures.back().width, 800) << name;
        EXPECT_EQ(pictures.back().height, 600) << name;
    }
    fs::remove_all(dir);
}

TEST(Shots, BadArgumentsExitNonZero)
{
    const std::string command = std::string(QUILLANE_BINARY) + " --shots /tmp/x --at 300 >/dev/null 2>&1";
    EXPECT_NE(std::system(command.c_str()), 0);
}
