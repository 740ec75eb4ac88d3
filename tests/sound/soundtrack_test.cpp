#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "mp3_fixture.h"
#include <SDL.h>

#include "support/offscreen_gl.h"
#include "platform/clock.h"
#include "sound/pcm_decoder.h"
#include "sound/soundtrack.h"

namespace {
constexpr float kUntouched = -7.0f;

struct Spectrum {
    float bins[1024];
    Spectrum() { std::fill(std::begin(bins), std::end(bins), kUntouched); }
    bool Untouched() const
    {
        return std::all_of(std::begin(bins), std::end(bins), [](float v) { return v == kUntouched; });
    }
};

// Every test leaves the module as a fresh process finds it.
class SoundtrackTest : public ::testing::Test {
  protected:
    void TearDown() override
    {
        SoundShutdown();
        SoundUseFixedStepClock(nullptr);
    }

    // One second of each tone in turn (bin centres), full scale unless told.
    std::string ToneFile(const std::string &name, std::initializer_list<int> bins, double amplitude = 0.98,
                         bool leftOnly = false)
    {
        std::vector<int16_t> pcm;
        for (int bin : bins)
            AppendTone(pcm, 2, 44100, 44100, BinCentre(bin), leftOnly ? 0.0 : BinCentre(bin), amplitude);
        const std::string path = dir.File(name);
        EXPECT_TRUE(WriteMp3(path, pcm, 44100, 2, 320));
        return path;
    }

    // The spectrum heard at pass `pass` of a 10 frames per second fixed-step run
    // that played `path` from `offset`.
    Spectrum FixedStepSpectrum(const std::string &path, double offset, int64_t pass)
    {
        SoundUseFixedStepClock(&clock);
        SoundInit(nullptr);
        SoundLoad(path.c_str());
        SoundPlay(offset);
        clock.SetPass(pass);
        Spectrum spectrum;
        EXPECT_EQ(SoundGetFFT(spectrum.bins), 4096u);
        return spectrum;
    }

    TempDir dir;
    FixedStepClock clock{10, 1};
};

TEST_F(SoundtrackTest, BinCentreSineReadsAboutOneAtItsBinAndNothingFarFromIt)
{
    for (int bin : {4, 7, 25, 30}) {
        SCOPED_TRACE(bin);
        const Spectrum s = FixedStepSpectrum(ToneFile("tone.mp3", {bin}), 0.0, 5);
        EXPECT_NEAR(s.bins[bin], 1.0f, 0.04f);
        // The Hann window spreads a bin-centre tone into its two neighbours at half height, no further.
        EXPECT_NEAR(s.bins[bin - 1], 0.5f, 0.03f);
        EXPECT_NEAR(s.bins[bin + 1], 0.5f, 0.03f);
        for (int k = 0; k < 512; ++k) {
            if (std::abs(k - bin) > 2) {
                ASSERT_LT(s.bins[k], 0.01f) << "bin " << k;
            }
        }
        for (int k = 512; k < 1024; ++k)
            ASSERT_EQ(s.bins[k], kUntouched) << "entry " << k << " was written";
        SoundShutdown();
    }
}

TEST_F(SoundtrackTest, SilenceReadsZeroAndALeftOnlyToneReadsHalf)
{
    const Spectrum silent = FixedStepSpectrum(ToneFile("silence.mp3", {0}, 0.0), 0.0, 5);
    for (int k = 0; k < 512; ++k)
        ASSERT_NEAR(silent.bins[k], 0.0f, 1e-4f) << "bin " << k;
    SoundShutdown();

    const Spectrum left = FixedStepSpectrum(ToneFile("left.mp3", {25}, 0.98, true), 0.0, 5);
    EXPECT_NEAR(left.bins[25], 0.5f, 0.03f);
}

// The tone changes from bin 7 to bin 30 at 1.000 s of the file; what is heard
// is the file at the fixed clock's time plus the start offset.
TEST_F(SoundtrackTest, FixedStepSpectrumFollowsTheClockFromTheStartOffset)
{
    const std::string path = ToneFile("change.mp3", {7, 30});
    const struct {
        double offset;
        int64_t pass; // tenths of a second
        int loud;
        int quiet;
    } cases[] = {
        {0.0, 9, 7, 30}, {0.0, 11, 30, 7}, {0.5, 4, 7, 30},
        {0.5, 6, 30, 7}, {0.95, 0, 7, 30}, {0.95, 1, 30, 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "offset " << c.offset << " pass " << c.pass);
        const Spectrum s = FixedStepSpectrum(path, c.offset, c.pass);
        EXPECT_NEAR(s.bins[c.loud], 1.0f, 0.05f);
        EXPECT_LT(s.bins[c.quiet], 0.01f);
        SoundShutdown();
    }
}

TEST_F(SoundtrackTest, FixedStepSpectrumIsReadyAtOnceAndTheSameEveryRun)
{
    const std::string path = ToneFile("change.mp3", {7, 30});
    Spectrum first[3], second[3];
    const int64_t passes[3] = {0, 11, 19};
    for (Spectrum *run : {first, second}) {
        SoundUseFixedStepClock(&clock);
        SoundInit(nullptr);
        SoundLoad(path.c_str()); // no waiting for the decoder: the request must wait itself
        SoundPlay(0.0);
        for (int i = 0; i < 3; ++i) {
            clock.SetPass(passes[i]);
            ASSERT_EQ(SoundGetFFT(run[i].bins), 4096u);
        }
        SoundShutdown();
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            std::equal(std::begin(first[i].bins), std::end(first[i].bins), std::begin(second[i].bins)))
            << "pass " << passes[i];
    // Pass 0 hears only the first frame: almost nothing, but an answer.
    EXPECT_LT(*std::max_element(first[0].bins, first[0].bins + 512), 0.01f);
    EXPECT_NEAR(first[2].bins[30], 1.0f, 0.05f);
}

TEST_F(SoundtrackTest, OffsetsBecomeTruncatedBytePositions)
{
    const struct {
        double seconds;
        uint32_t byte;
    } cases[] = {
        {0.0, 0},
        {10.5, 1852200},
        {0.00001, 1},
        {1.0 / 44100.0, 4},
        {0.99999999, 176399},
        {-1.0, 0},
        {225.0, 39690000},
        // The position is 32 bits wide: beyond about 6.7 hours it wraps.
        {24347.0, 4294810800u},
        {24348.0, 19904},
    };
    for (const auto &c : cases)
        EXPECT_EQ(SoundBytePosition(c.seconds), c.byte) << c.seconds << " s";
}

// The disk driver writes exactly what the callback produced, as fast as it can.
TEST_F(SoundtrackTest, PlaybackFromAnOffsetIsTheDecodedAudioFromThatFrame)
{
    std::vector<int16_t> pcm;
    for (int second = 0; second < 11; ++second)
        AppendTone(pcm, 2, 44100, 44100, 200.0 + 97.0 * second, 3000.0 - 111.0 * second, 0.6);
    const std::string path = dir.File("eleven.mp3");
    ASSERT_TRUE(WriteMp3(path, pcm, 44100, 2));
    std::vector<int16_t> decoded;
    ASSERT_TRUE(DecodeMp3File(path.c_str(), decoded));
    ASSERT_EQ(decoded.size(), pcm.size());

    const std::string output = dir.File("played.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    MessageRecorder recorder;
    // Loaded and decoded before the device opens: a paused device writes
    // silence, and the disk driver writes it as fast as it can.
    SoundLoad(path.c_str());
    SoundWaitUntilDecoded();
    SoundInit(nullptr);
    SoundPlay(10.5000001); // byte 1852200.0176: frame 463050
    const size_t expectedFrames = decoded.size() / 2 - 463050;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    std::error_code error;
    while (std::chrono::steady_clock::now() < deadline &&
           std::filesystem::file_size(output, error) < (expectedFrames + 16384) * 4)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    SoundShutdown();
    EXPECT_TRUE(recorder.messages.empty());

    std::vector<int16_t> played = ReadPcmFile(output);
    // Skip the whole silent buffers the device wrote before playback started.
    size_t start = 0;
    while (start + 2048 <= played.size() &&
           std::all_of(played.begin() + static_cast<std::ptrdiff_t>(start),
                       played.begin() + static_cast<std::ptrdiff_t>(start + 2048),
                       [](int16_t v) { return v == 0; }))
        start += 2048;
    EXPECT_LE(start, 2048u * 8);
    played.erase(played.begin(), played.begin() + static_cast<std::ptrdiff_t>(start));
    ASSERT_GE(played.size() / 2, expectedFrames + 4096);
    const auto mismatch = std::mismatch(decoded.begin() + 463050 * 2, decoded.end(), played.begin());
    ASSERT_TRUE(mismatch.first == decoded.end())
        << "sample " << (mismatch.second - played.begin()) << " of " << expectedFrames * 2;
    // After the end of the file the stream is silent.
    EXPECT_TRUE(std::all_of(played.begin() + static_cast<std::ptrdiff_t>(expectedFrames * 2),
                            played.begin() + static_cast<std::ptrdiff_t>((expectedFrames + 4096) * 2),
                            [](int16_t v) { return v == 0; }));
}

// With the dummy driver the callback runs at the pace of real playback; the
// spectrum follows what is heard, never what the callback has merely written.
TEST_F(SoundtrackTest, LiveSpectrumFollowsPlaybackInRealTime)
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string path = ToneFile("change.mp3", {7, 30});
    MessageRecorder recorder;
    SoundInit(nullptr);
    SoundLoad(path.c_str());
    Spectrum before;
    EXPECT_EQ(SoundGetFFT(before.bins), kSoundRequestFailed);
    EXPECT_TRUE(before.Untouched()) << "nothing plays yet";

    const auto start = std::chrono::steady_clock::now();
    SoundPlay(0.5); // the tone changes half a second in
    double heardOld = -1.0, heardNew = -1.0;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(5) && heardNew < 0.0) {
        Spectrum s;
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (SoundGetFFT(s.bins) == 4096u) {
            if (heardOld < 0.0 && s.bins[7] > 0.9f && s.bins[30] < 0.01f)
                heardOld = elapsed;
            if (s.bins[30] > 0.9f && s.bins[7] < 0.01f)
                heardNew = elapsed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(recorder.messages.empty());
    ASSERT_GE(heardOld, 0.0) << "the first tone was never heard";
    ASSERT_GE(heardNew, 0.0) << "the second tone was never heard";
    // Heard no sooner than half a second of playback, less a window's length.
    EXPECT_GT(heardNew, 0.45);
}

TEST_F(SoundtrackTest, FailuresShowTheirMessagesInOrderAndTheSpectrumStaysUntouched)
{
    const std::string good = ToneFile("tone.mp3", {30});
    std::ofstream(dir.File("text.mp3")) << "not a soundtrack\n";
    const struct {
        const char *driver;
        std::string path;
        std::vector<std::string> messages;
    } cases[] = {
        {"dummy",
         dir.File("missing.mp3"),
         {"BASS error, file not found?", "BASS error, can not play stream?"}},
        {"dummy", dir.File("text.mp3"), {"BASS error, file not found?", "BASS error, can not play stream?"}},
        // No sound card: the device cannot open; the presentation goes on silent.
        {"no-such-driver", good, {"BASS error", "BASS error, can not play stream?"}},
        {"no-such-driver",
         dir.File("missing.mp3"),
         {"BASS error", "BASS error, file not found?", "BASS error, can not play stream?"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.driver + (" " + c.path));
        setenv("SDL_AUDIODRIVER", c.driver, 1);
        MessageRecorder recorder;
        SoundInit(nullptr);
        SoundLoad(c.path.c_str());
        SoundPlay(0.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Spectrum s;
        EXPECT_EQ(SoundGetFFT(s.bins), kSoundRequestFailed);
        EXPECT_TRUE(s.Untouched());
        std::vector<std::string> texts;
        for (const auto &m : recorder.messages) {
            texts.push_back(m.text);
            EXPECT_EQ(m.caption, "BASS");
        }
        EXPECT_EQ(texts, c.messages);
        SoundShutdown();
    }
}

// In a fixed-step run no device is opened, so a missing sound card is no failure.
TEST_F(SoundtrackTest, FixedStepRunOpensNoDevice)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    MessageRecorder recorder;
    const Spectrum s = FixedStepSpectrum(ToneFile("tone.mp3", {4}), 0.0, 3);
    EXPECT_TRUE(recorder.messages.empty());
    EXPECT_NEAR(s.bins[4], 1.0f, 0.05f);
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

TEST_F(SoundtrackTest, MonoAt22050HzPlaysAt44100HzStereo)
{
    std::vector<int16_t> pcm;
    AppendTone(pcm, 1, 22050, 22050, BinCentre(25), 0.0, 0.98);
    const std::string path = dir.File("mono.mp3");
    ASSERT_TRUE(WriteMp3(path, pcm, 22050, 1, 128));
    // Bin 25 of a 44100 Hz spectrum: right only if the audio was resampled to 44100 Hz.
    const Spectrum s = FixedStepSpectrum(path, 0.0, 5);
    // libmpg123's resampler is simple: it loses a little of the level.
    EXPECT_NEAR(s.bins[25], 1.0f, 0.1f);
    EXPECT_EQ(std::max_element(s.bins, s.bins + 512) - s.bins, 25);
    EXPECT_LT(s.bins[50], 0.01f);
    EXPECT_LT(s.bins[12], 0.01f);
}
} // namespace
