#include <gtest/gtest.h>

#include <vector>

#include "driver/options.h"

namespace {
ParseResult Parse(std::vector<const char *> args, Options &options)
{
    args.insert(args.begin(), "quillane");
    return ParseOptions(static_cast<int>(args.size()), args.data(), options);
}
} // namespace

TEST(CaptureOptionsTest, CaptureSizeAndDurationAreRead)
{
    Options options;
    ASSERT_EQ(
        Parse({"--capture", "out.mp4", "--fps", "60000/1001", "--size", "1920x1080", "--duration", "12.5"},
              options),
        ParseResult::Run);
    EXPECT_EQ(options.captureFile, "out.mp4");
    EXPECT_EQ(options.fpsNumerator, 60000);
    EXPECT_EQ(options.fpsDenominator, 1001);
    EXPECT_EQ(options.width, 1920);
    EXPECT_EQ(options.height, 1080);
    EXPECT_EQ(options.durationSeconds, 12.5);

    Options defaults;
    ASSERT_EQ(Parse({"--capture", "out.mp4"}, defaults), ParseResult::Run);
    EXPECT_EQ(defaults.fpsNumerator, 60);
    EXPECT_EQ(defaults.width, 0); // 800x600
    EXPECT_EQ(defaults.durationSeconds, 0.0);

    Options windowed;
    ASSERT_EQ(Parse({"--windowed", "--size", "1280x960"}, windowed), ParseResult::Run);
    EXPECT_TRUE(windowed.windowed);
    EXPECT_EQ(windowed.width, 1280);

    Options desktop;
    ASSERT_EQ(Parse({"--desktop"}, desktop), ParseResult::Run);
    EXPECT_TRUE(desktop.desktop);
    EXPECT_FALSE(desktop.windowed);

    Options oddLive; // only a video needs even sides
    EXPECT_EQ(Parse({"--windowed", "--size", "801x601"}, oddLive), ParseResult::Run);
}

TEST(CaptureOptionsTest, NonsenseIsRefused)
{
    const std::vector<std::vector<const char *>> refused = {
        {"--capture", "x.mp4", "--size", "1921x1080"}, // odd: no yuv420p video
        {"--size", "800"},
        {"--size", "0x0"},
        {"--size", "9000x600"},
        {"--size", "-800x600"},
        {"--size", "800x600x2"},
        {"--capture", "x.mp4", "--duration", "-1"},
        {"--capture", "x.mp4", "--duration", "0"},
        {"--capture", "x.mp4", "--duration", "ten"},
        {"--capture", "x.mp4", "--duration", "inf"},
        {"--duration", "5"}, // only a capture has a duration
        {"--capture", "x.mp4", "--shots", "dir", "--at", "5"},
        {"--capture", "x.mp4", "--windowed"},
        {"--desktop", "--windowed"},
        {"--desktop", "--size", "1280x960"},
        {"--desktop", "--capture", "x.mp4"},
    };
    for (const auto &args : refused) {
        Options options;
        std::string line;
        for (const char *arg : args)
            line += std::string(arg) + " ";
        EXPECT_EQ(Parse(args, options), ParseResult::ExitFailure) << line;
    }
}
