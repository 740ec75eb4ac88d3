#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "driver/capture_writer.h"
#include "media_probe.h"
#include "tone_mp3.h"

extern char **environ;

namespace fs = std::filesystem;

namespace {
// The program as users run it, in a directory of its own whose data/ holds
// the build's media set and a soundtrack of the test's making.
class CaptureRunTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        directory = MakeTempDirectory();
        ASSERT_FALSE(directory.empty());
        fs::create_directories(directory + "/data");
        std::error_code error;
        for (const auto &entry : fs::directory_iterator(QUILLANE_DATA_DIR, error))
            fs::create_symlink(entry.path(), directory + "/data/" + entry.path().filename().string());
        fs::remove(directory + "/data/morvane.mp3");
        // Under the sanitizers the program unloads Mesa's driver before it exits,
        // and the leak checker then finds the driver's own allocations under an
        // unknown module, which no suppression can name. Memory errors are still
        // checked in the program; the writer's leaks are checked in-process.
        if (const char *asan = std::getenv("ASAN_OPTIONS"))
            setenv("ASAN_OPTIONS", (std::string(asan) + ":detect_leaks=0").c_str(), 1);
    }
    void TearDown() override { fs::remove_all(directory); }

    // A soundtrack: silence, then a loud tone from onsetSample to the end.
    void WriteSoundtrack(double seconds, int64_t onsetSample, double frequency)
    {
        const auto samples = static_cast<int64_t>(seconds * 44100.0);
        ASSERT_TRUE(WriteMp3(directory + "/data/morvane.mp3",
                             ToneAfterSilence(samples, onsetSample, frequency, 0.9)));
    }

    CommandResult Quillane(const std::string &arguments)
    {
        return RunCommand(ShellQuote(QUILLANE_BINARY) + " -C " + ShellQuote(directory) + " " + arguments);
    }

    std::string directory;
};

double MeanFrameDifference(const std::vector<uint8_t> &a, const std::vector<uint8_t> &b, int width,
                           int height)
{
    return MeanDifference(a, b, width, 0, 0, width, height);
}

int64_t FirstLoudSample(const std::vector<int16_t> &samples, int threshold)
{
    for (size_t i = 0; i < samples.size(); ++i)
        if (std::abs(samples[i]) > threshold)
            return static_cast<int64_t>(i);
    return -1;
}
} // namespace

TEST_F(CaptureRunTest, ShortCaptureHasEveryFrameAndSoundAsLongAsThePicture)
{
    WriteSoundtrack(5.0, 22050, 440.0);
    struct Case {
        std::string arguments;
        int width, height;
        const char *rate;
        int64_t numerator, denominator, frames;
    };
    const Case cases[] = {
        {"--fps 10 --duration 2", 800, 600, "10/1", 10, 1, 20},
        {"--fps 30000/1001 --duration 1 --size 1920x1080", 1920, 1080, "30000/1001", 30000, 1001, 30},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        const std::string path = directory + "/capture.mp4";
        const CommandResult run = Quillane("--capture " + ShellQuote(path) + " " + c.arguments);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, path + "\n"); // the file is named in the output

        auto video = ProbeStream(path, "v:0");
        EXPECT_EQ(video["codec_name"], "h264");
        EXPECT_EQ(video["pix_fmt"], "yuv420p");
        EXPECT_EQ(video["width"], std::to_string(c.width));
        EXPECT_EQ(video["height"], std::to_string(c.height));
        EXPECT_EQ(video["r_frame_rate"], c.rate);
        EXPECT_EQ(video["nb_read_frames"], std::to_string(c.frames));
        EXPECT_EQ(std::stod(video["start_time"]), 0.0);

        auto audio = ProbeStream(path, "a:0");
        EXPECT_EQ(audio["codec_name"], "aac");
        EXPECT_EQ(std::stod(audio["start_time"]), 0.0);
        EXPECT_EQ(audio["duration_ts"],
                  std::to_string(SamplesForFrames(c.frames, c.numerator, c.denominator)));
        EXPECT_NEAR(std::stod(audio["duration"]), std::stod(video["duration"]), 0.5 / 44100.0);

        if (c.width * 3 != c.height * 4) {
            // Pillarboxed: black bars beside a 4:3 picture (a pixel of margin for chroma).
            const std::vector<uint8_t> frame = DecodeFrame(path, c.frames - 1, "", c.width, c.height);
            ASSERT_FALSE(frame.empty());
            const int bar = (c.width - c.height * 4 / 3) / 2;
            EXPECT_LE(MaxValue(frame, c.width, 0, 0, bar - 2, c.height), 20);
            EXPECT_LE(MaxValue(frame, c.width, c.width - bar + 2, 0, bar - 2, c.height), 20);
            EXPECT_GT(MaxValue(frame, c.width, bar + 2, 0, c.width - 2 * bar - 4, c.height), 60);
        }
        fs::remove(path);
    }
}

// A tone at spectrum entry 30 switched on so that the spectrum of the frame
// at 3.0 s is the first to hear it: the opening's logo jumps in that frame
// and not before, and the video's sound has the tone from its own sample.
TEST_F(CaptureRunTest, LogoJumpsWithTheToneInTheFrameOfItsTime)
{
    constexpr int kFps = 10;
    constexpr int kJumpFrame = 30;
    constexpr int64_t kOnset = kJumpFrame * 44100 / kFps - 1024; // the spectrum sees 1024 samples
    WriteSoundtrack(6.0, kOnset, 30.0 * 44100.0 / 1024.0);
    const std::string path = directory + "/sync.mp4";
    const CommandResult run =
        Quillane("--capture " + ShellQuote(path) + " --fps 10 --duration 3.5 --size 320x240");
    ASSERT_EQ(run.status, 0) << run.err;

    const std::vector<int16_t> sound = DecodeAudioMono(path);
    EXPECT_NEAR(FirstLoudSample(sound, static_cast<int>(0.3 * 0.9 * 32767)), kOnset, 88); // within 2 ms

    const auto frames = DecodeFrames(path, kJumpFrame + 3, 320, 240);
    ASSERT_EQ(frames.size(), size_t{kJumpFrame + 3});
    std::vector<double> change(frames.size(), 0.0); // change[k]: from frame k - 1 to frame k
    for (size_t k = 1; k < frames.size(); ++k)
        change[k] = MeanFrameDifference(frames[k - 1], frames[k], 320, 240);
    double before = 0.0;
    for (int k = 1; k < kJumpFrame; ++k)
        before = std::max(before, change[k]);
    EXPECT_GT(change[kJumpFrame], 1.0) << "the logo does not jump at 3.0 s";
    EXPECT_GT(change[kJumpFrame], 3.0 * before) << "the picture moved as much before the tone";
}

TEST_F(CaptureRunTest, InterruptionLeavesAFileWithEveryFrameWritten)
{
    WriteSoundtrack(3.0, 0, 440.0);
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(strsignal(signal));
        const std::string path = directory + "/interrupted.mp4";
        const std::string log = directory + "/capture.log";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        const std::string binary = QUILLANE_BINARY;
        std::vector<std::string> args = {binary,  "-C", directory, "--capture", path,
                                         "--fps", "30", "--size",  "320x240"};
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, binary.c_str(), &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);

        // Interrupt once a tenth of the presentation is captured.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        std::string text;
        while (text.find("capture 10%") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::ifstream in(log);
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        std::ifstream in(log);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_TRUE(WIFEXITED(status)) << text;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal) << text;

        const size_t said = text.find("holds the ");
        ASSERT_NE(said, std::string::npos) << text;
        const int64_t frames = std::atoll(text.c_str() + said + 10);
        EXPECT_GE(frames, 675);
        EXPECT_LT(frames, 6750);
        auto video = ProbeStream(path, "v:0");
        EXPECT_EQ(video["nb_read_frames"], std::to_string(frames));
        EXPECT_EQ(ProbeStream(path, "a:0")["duration_ts"], std::to_string(SamplesForFrames(frames, 30, 1)));
        fs::remove(path);
    }
}

TEST_F(CaptureRunTest, UnwritableFileOrFullDiskFailsAndLeavesNoFile)
{
    WriteSoundtrack(3.0, 0, 440.0);
    struct Case {
        std::string limit; // shell set-up before the run
        std::string path;
        std::string message;
    };
    const Case cases[] = {
        {"", directory + "/missing/out.mp4", "cannot write " + directory + "/missing/out.mp4"},
        // The file may grow to 64 KiB: the disk fills in mid-capture.
        {"ulimit -f 64; trap '' XFSZ; ", directory + "/full.mp4", "cannot write " + directory + "/full.mp4"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        const CommandResult run =
            RunCommand(c.limit + ShellQuote(QUILLANE_BINARY) + " -C " + ShellQuote(directory) +
                       " --capture " + ShellQuote(c.path) + " --fps 10 --duration 10");
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(c.path));
    }
}

// The same moments rendered at other sizes are the 800x600 picture scaled,
// quadrants included, with black bars where the aspect differs.
TEST_F(CaptureRunTest, OtherSizesShowTheSamePictureScaled)
{
    WriteSoundtrack(3.0, 0, 440.0);
    const char *times[] = {"005.000.png", "058.000.png"}; // the opening; a four-quadrant window
    const auto shoot = [&](const std::string &size) {
        const std::string shots = directory + "/shots-" + size;
        const CommandResult run =
            Quillane("--shots " + ShellQuote(shots) + " --at 5,58 --fps 2 --size " + size);
        EXPECT_EQ(run.status, 0) << run.err;
        return shots;
    };
    const std::string reference = shoot("800x600");
    struct Case {
        std::string size;
        int width, height;
    };
    for (const Case &c :
         {Case{"1600x1200", 1600, 1200}, Case{"1920x1080", 1920, 1080}, Case{"1024x768", 1024, 768}}) {
        SCOPED_TRACE(c.size);
        const std::string shots = shoot(c.size);
        const int pictureWidth = std::min(c.width, c.height * 4 / 3);
        const int pictureHeight = pictureWidth * 3 / 4;
        const int barX = (c.width - pictureWidth) / 2;
        const int barY = (c.height - pictureHeight) / 2;
        const std::string toDesign = "crop=" + std::to_string(pictureWidth) + ":" +
                                     std::to_string(pictureHeight) + ":" + std::to_string(barX) + ":" +
                                     std::to_string(barY) + ",scale=800:600:flags=area";
        for (const char *time : times) {
            SCOPED_TRACE(time);
            const std::vector<uint8_t> expected = DecodeFrame(reference + "/" + time, 0, "", 800, 600);
            const std::vector<uint8_t> scaled = DecodeFrame(shots + "/" + time, 0, toDesign, 800, 600);
            ASSERT_FALSE(expected.empty());
            ASSERT_FALSE(scaled.empty());
            // Quarter by quarter: each quadrant window fills its own quarter.
            for (int q = 0; q < 4; ++q)
                EXPECT_LT(MeanDifference(expected, scaled, 800, (q % 2) * 400, (q / 2) * 300, 400, 300), 6.0)
                    << "quarter " << q;
            if (barX > 0) {
                const std::vector<uint8_t> full = DecodeFrame(shots + "/" + time, 0, "", c.width, c.height);
                ASSERT_FALSE(full.empty());
                EXPECT_EQ(MaxValue(full, c.width, 0, 0, barX, c.height), 0);
                EXPECT_EQ(MaxValue(full, c.width, barX + pictureWidth, 0, barX, c.height), 0);
            }
        }
    }
}
