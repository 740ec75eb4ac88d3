#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "driver/capture_writer.h"
#include "media_probe.h"
#include "tone_mp3.h"

namespace {
constexpr int kWidth = 64;
constexpr int kHeight = 48;

// RGB rows bottom-up, as the GL reads them: the bottom half one colour, the top another.
std::vector<uint8_t> TwoToneFrame(const uint8_t top[3], const uint8_t bottom[3])
{
    std::vector<uint8_t> frame(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            for (int c = 0; c < 3; ++c)
                frame[(y * kWidth + x) * 3 + c] = y < kHeight / 2 ? bottom[c] : top[c];
    return frame;
}

class VideoWriterTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        directory = MakeTempDirectory();
        ASSERT_FALSE(directory.empty());
    }
    void TearDown() override { std::filesystem::remove_all(directory); }

    VideoSettings Settings(const std::string &name, int64_t numerator, int64_t denominator)
    {
        VideoSettings settings;
        settings.path = directory + "/" + name;
        settings.width = kWidth;
        settings.height = kHeight;
        settings.fpsNumerator = numerator;
        settings.fpsDenominator = denominator;
        return settings;
    }

    std::string directory;
};

int64_t FirstLoudSample(const std::vector<int16_t> &samples, int threshold)
{
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(samples[i]) > threshold)
            return static_cast<int64_t>(i);
    return -1;
}
} // namespace

TEST(SamplesForFramesTest, IsThePictureLengthToTheNearestSample)
{
    struct Case {
        int64_t frames, numerator, denominator, samples;
    };
    for (const Case &c : {Case{0, 60, 1, 0}, Case{60, 60, 1, 44100}, Case{13500, 60, 1, 9922500},
                          Case{1, 60000, 1001, 736}, Case{3, 30000, 1001, 4414}, Case{7, 24, 1, 12863}})
        EXPECT_EQ(SamplesForFrames(c.frames, c.numerator, c.denominator), c.samples)
            << c.frames << " frames at " << c.numerator << "/" << c.denominator;
}

// The picture at the asked rate with every frame, the sound from 0 exactly as
// long as the picture, and a sound event at its own sample.
TEST_F(VideoWriterTest, PictureAndSoundShareOneTimeline)
{
    struct Case {
        int64_t numerator, denominator;
        int frames;
        const char *rate;
    };
    for (const Case &c : {Case{10, 1, 25, "10/1"}, Case{30000, 1001, 31, "30000/1001"}}) {
        SCOPED_TRACE(c.rate);
        VideoWriter writer(Settings(std::string("timeline") + std::to_string(c.numerator) + ".mp4",
                                    c.numerator, c.denominator));
        ASSERT_TRUE(writer.Ok()) << writer.Error();
        const int64_t samples = SamplesForFrames(c.frames, c.numerator, c.denominator);
        const int64_t onset = samples / 2 + 123; // off any block or frame boundary
        // The soundtrack runs on past the picture; the video's sound must not.
        writer.SetSound(ToneAfterSilence(samples + 30000, onset, 1000.0, 0.5));
        const uint8_t grey[3] = {128, 128, 128};
        const std::vector<uint8_t> frame = TwoToneFrame(grey, grey);
        for (int i = 0; i < c.frames; ++i)
            ASSERT_TRUE(writer.WriteFrame(frame.data())) << writer.Error();
        ASSERT_TRUE(writer.Finish()) << writer.Error();
        const std::string path = Settings(std::string("timeline") + std::to_string(c.numerator) + ".mp4",
                                          c.numerator, c.denominator)
                                     .path;

        auto video = ProbeStream(path, "v:0");
        EXPECT_EQ(video["codec_name"], "h264");
        EXPECT_EQ(video["pix_fmt"], "yuv420p");
        EXPECT_EQ(video["width"], std::to_string(kWidth));
        EXPECT_EQ(video["height"], std::to_string(kHeight));
        EXPECT_EQ(video["r_frame_rate"], c.rate);
        EXPECT_EQ(video["nb_read_frames"], std::to_string(c.frames));
        EXPECT_EQ(std::stod(video["start_time"]), 0.0);

        auto audio = ProbeStream(path, "a:0");
        EXPECT_EQ(audio["codec_name"], "aac");
        EXPECT_EQ(audio["sample_rate"], "44100");
        EXPECT_EQ(audio["channels"], "2");
        EXPECT_EQ(std::stod(audio["start_time"]), 0.0);
        EXPECT_EQ(audio["time_base"], "1/44100");
        EXPECT_EQ(audio["duration_ts"], std::to_string(samples));
        EXPECT_NEAR(std::stod(audio["duration"]), std::stod(video["duration"]), 0.5 / 44100.0);

        const std::vector<int16_t> decoded = DecodeAudioMono(path);
        // A decoder may keep the padding of the last AAC block (under 1024 samples).
        EXPECT_GE(static_cast<int64_t>(decoded.size()), samples);
        EXPECT_LT(static_cast<int64_t>(decoded.size()), samples + 1024);
        EXPECT_NEAR(FirstLoudSample(decoded, 0.25 * 0.5 * 32767), onset, 24);
    }
}

TEST_F(VideoWriterTest, PictureIsUprightWithItsColours)
{
    const VideoSettings settings = Settings("upright.mp4", 25, 1);
    VideoWriter writer(settings);
    ASSERT_TRUE(writer.Ok()) << writer.Error();
    const uint8_t red[3] = {220, 30, 30};
    const uint8_t blue[3] = {30, 30, 220};
    const std::vector<uint8_t> frame = TwoToneFrame(red, blue);
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(writer.WriteFrame(frame.data()));
    ASSERT_TRUE(writer.Finish()) << writer.Error();

    const std::vector<uint8_t> decoded = DecodeFrame(settings.path, 2, "", kWidth, kHeight);
    ASSERT_EQ(decoded.size(), size_t{kWidth * kHeight * 3});
    // Rows come back top first: red on top, blue below, within coding error.
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(decoded[(4 * kWidth + 8) * 3 + c], red[c], 12) << "top, channel " << c;
        EXPECT_NEAR(decoded[((kHeight - 4) * kWidth + 8) * 3 + c], blue[c], 12) << "bottom, channel " << c;
    }
}

TEST_F(VideoWriterTest, SoundShorterThanThePictureEndsInSilence)
{
    const VideoSettings settings = Settings("short.mp4", 10, 1);
    VideoWriter writer(settings);
    ASSERT_TRUE(writer.Ok()) << writer.Error();
    writer.SetSound(ToneAfterSilence(22050, 0, 500.0, 0.5)); // half a second of tone
    const uint8_t grey[3] = {90, 90, 90};
    const std::vector<uint8_t> frame = TwoToneFrame(grey, grey);
    for (int i = 0; i < 20; ++i) // two seconds of picture
        ASSERT_TRUE(writer.WriteFrame(frame.data()));
    ASSERT_TRUE(writer.Finish()) << writer.Error();

    EXPECT_EQ(ProbeStream(settings.path, "a:0")["duration_ts"], "88200");
    const std::vector<int16_t> decoded = DecodeAudioMono(settings.path);
    ASSERT_GE(decoded.size(), size_t{88200});
    int loudAfterEnd = 0;
    for (size_t i = 22050 + 2048; i < 88200; ++i)
        loudAfterEnd = std::max(loudAfterEnd, std::abs(int(decoded[i])));
    EXPECT_LT(loudAfterEnd, 64);
}

TEST_F(VideoWriterTest, UnwritablePlacesAreClearErrors)
{
    struct Case {
        std::string path;
        bool failsAtOpen;
    };
    for (const Case &c :
         {Case{directory + "/missing/dir/out.mp4", true}, Case{directory, true}, Case{"/dev/full", false}}) {
        SCOPED_TRACE(c.path);
        VideoSettings settings = Settings("unused.mp4", 10, 1);
        settings.path = c.path;
        VideoWriter writer(settings);
        if (c.failsAtOpen) {
            ASSERT_FALSE(writer.Ok());
        } else if (writer.Ok()) {
            // A full disk shows once the buffered bytes are written.
            const uint8_t grey[3] = {90, 90, 90};
            const std::vector<uint8_t> frame = TwoToneFrame(grey, grey);
            for (int i = 0; i < 10 && writer.WriteFrame(frame.data()); ++i) {
            }
            EXPECT_FALSE(writer.Finish());
        }
        EXPECT_NE(writer.Error().find(c.path), std::string::npos) << writer.Error();
    }
    // Never removed: only a regular file the writer made is its to remove.
    struct stat info {};
    EXPECT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_TRUE(std::filesystem::is_directory(directory));
}

TEST_F(VideoWriterTest, UnfinishedOrFailedFilesAreRemoved)
{
    const uint8_t grey[3] = {90, 90, 90};
    const std::vector<uint8_t> frame = TwoToneFrame(grey, grey);
    const VideoSettings dropped = Settings("dropped.mp4", 10, 1);
    {
        VideoWriter writer(dropped);
        ASSERT_TRUE(writer.WriteFrame(frame.data()));
        EXPECT_TRUE(std::filesystem::exists(dropped.path));
    }
    EXPECT_FALSE(std::filesystem::exists(dropped.path));

    const VideoSettings abandoned = Settings("abandoned.mp4", 10, 1);
    VideoWriter writer(abandoned);
    ASSERT_TRUE(writer.WriteFrame(frame.data()));
    writer.Abandon("the picture went wrong");
    EXPECT_FALSE(writer.WriteFrame(frame.data()));
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(writer.Error(), "the picture went wrong");
    EXPECT_FALSE(std::filesystem::exists(abandoned.path));
}
