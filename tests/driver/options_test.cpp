#include <gtest/gtest.h>

#include <vector>

#include "driver/options.h"

namespace {
ParseResult Parse(std::vector<const char *> args, Options &options)
{
    args.insert(args.begin(), "quillane");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const ParseResult result = ParseOptions(static_cast<int>(args.size()), args.data(), options);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return result;
}
} // namespace

TEST(Options, NoArgumentsIsTheDescribedRun)
{
    Options options;
    EXPECT_EQ(Parse({}, options), ParseResult::Run);
    EXPECT_FALSE(options.windowed);
    EXPECT_TRUE(options.directory.empty());
    EXPECT_TRUE(options.shotsDirectory.empty());
}

TEST(Options, ShotsTakeTimesAndAFrameRate)
{
    Options options;
    ASSERT_EQ(Parse({"--shots", "out", "--at", "5,62.5,224", "--fps", "60000/1001", "-C", "dir"}, options),
              ParseResult::Run);
    EXPECT_EQ(options.shotsDirectory, "out");
    EXPECT_EQ(options.shotTimes, (std::vector<double>{5.0, 62.5, 224.0}));
    EXPECT_EQ(options.fpsNumerator, 60000);
    EXPECT_EQ(options.fpsDenominator, 1001);
    EXPECT_EQ(options.directory, "dir");
}

TEST(Options, BadArgumentsAreRefused)
{
    const std::vector<std::vector<const char *>> cases = {
        {"--shots", "out"},                 // no times
        {"--at", "5"},                      // times without shots
        {"--shots", "out", "--at", "5,,6"}, // empty time
        {"--shots", "out", "--at", "abc"},  // not a number
        {"--shots", "out", "--at", "225"},  // the presentation has ended
        {"--shots", "out", "--at", "-1"},   // before it starts
        {"--shots", "out", "--at", "5", "--fps", "0"},
        {"--shots", "out", "--at", "5", "--fps", "60/0"},
        {"--shots", "out", "--at", "5", "--fps", "sixty"},
        {"--no-such-option"},
    };
    for (const auto &args : cases) {
        Options options;
        EXPECT_EQ(Parse(args, options), ParseResult::ExitFailure) << args.back();
    }
}

TEST(Options, HelpAndVersionExitSuccessfully)
{
    for (const char *flag : {"--help", "--version"}) {
        Options options;
        EXPECT_EQ(Parse({flag}, options), ParseResult::ExitSuccess) << flag;
    }
}
