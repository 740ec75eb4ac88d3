#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "mp3_fixture.h"
#include "sound/pcm_decoder.h"

namespace {
double Rms(const std::vector<int16_t> &pcm, size_t first, size_t count)
{
    double sum = 0.0;
    for (size_t i = first; i < first + count; ++i)
        sum += static_cast<double>(pcm[i]) * pcm[i];
    return std::sqrt(sum / static_cast<double>(count)) / 32768.0;
}
} // namespace

// The LAME tag lets the decoder drop the encoder's delay and padding: exactly
// the frames that went in come out, in place.
TEST(Mp3Decoder, GaplessDecodingRestoresTheExactLengthAndAlignment)
{
    TempDir dir;
    std::vector<int16_t> pcm;
    AppendTone(pcm, 2, 44100, 54321, 440.0, 880.0, 0.5);
    ASSERT_TRUE(WriteMp3(dir.File("tone.mp3"), pcm, 44100, 2));

    std::vector<int16_t> decoded;
    ASSERT_TRUE(DecodeMp3File(dir.File("tone.mp3").c_str(), decoded));
    ASSERT_EQ(decoded.size(), pcm.size());
    double error = 0.0;
    for (size_t i = 0; i < pcm.size(); ++i)
        error += std::pow(static_cast<double>(decoded[i]) - pcm[i], 2.0);
    // Lossy, but sample-aligned: a shift of even one frame would leave errors near the signal itself.
    EXPECT_LT(std::sqrt(error / static_cast<double>(pcm.size())) / 32768.0, 0.02);
}

TEST(Mp3Decoder, MonoAt22050HzComesOutAs44100HzStereo)
{
    TempDir dir;
    std::vector<int16_t> pcm;
    AppendTone(pcm, 1, 22050, 22050, 441.0, 0.0, 0.5);
    ASSERT_TRUE(WriteMp3(dir.File("mono.mp3"), pcm, 22050, 1, 64));

    std::vector<int16_t> decoded;
    ASSERT_TRUE(DecodeMp3File(dir.File("mono.mp3").c_str(), decoded));
    const size_t frames = decoded.size() / 2;
    EXPECT_NEAR(static_cast<double>(frames), 44100.0, 44100.0 * 0.01);
    for (size_t i = 0; i < frames; ++i)
        ASSERT_EQ(decoded[2 * i], decoded[2 * i + 1]) << "frame " << i;
    // 441 Hz resampled to 44100 Hz: 100 frames per period, so a half period apart the signal flips.
    double flip = 0.0;
    for (size_t i = 10000; i < 30000; ++i)
        flip += std::abs(decoded[2 * i] + decoded[2 * (i + 50)]);
    EXPECT_LT(flip / 20000.0 / 32768.0, 0.03);
    EXPECT_GT(Rms(decoded, 20000, 40000), 0.3);
}

TEST(Mp3Decoder, FilesWithoutMpegAudioFailWithNothingDecoded)
{
    TempDir dir;
    std::vector<int16_t> tone;
    AppendTone(tone, 2, 44100, 44100, 440.0, 440.0, 0.5);
    ASSERT_TRUE(WriteMp3(dir.File("tone.mp3"), tone, 44100, 2));
    std::ifstream whole(dir.File("tone.mp3"), std::ios::binary);
    const std::string mp3((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());

    std::mt19937 random(7);
    std::string noise(65536, '\0');
    for (char &c : noise)
        c = static_cast<char>(random());
    const struct {
        const char *name;
        std::string bytes;
    } cases[] = {
        {"empty.mp3", ""},
        {"text.mp3", "this is a text file, not a soundtrack\n"},
        {"noise.mp3", noise},
        {"header-only.mp3", mp3.substr(0, 3)},
    };
    for (const auto &c : cases) {
        std::ofstream(dir.File(c.name), std::ios::binary) << c.bytes;
        std::vector<int16_t> pcm(10, 1);
        EXPECT_FALSE(DecodeMp3File(dir.File(c.name).c_str(), pcm)) << c.name;
        EXPECT_TRUE(pcm.empty()) << c.name;
    }
    std::vector<int16_t> pcm(10, 1);
    EXPECT_FALSE(DecodeMp3File(dir.File("missing.mp3").c_str(), pcm));
    EXPECT_TRUE(pcm.empty());
    EXPECT_FALSE(DecodeMp3File(nullptr, pcm));
}

// A file cut short decodes as far as it goes.
TEST(Mp3Decoder, TruncatedFileDecodesItsWholeFrames)
{
    TempDir dir;
    std::vector<int16_t> tone;
    AppendTone(tone, 2, 44100, 88200, 440.0, 440.0, 0.5);
    ASSERT_TRUE(WriteMp3(dir.File("tone.mp3"), tone, 44100, 2));
    std::ifstream whole(dir.File("tone.mp3"), std::ios::binary);
    const std::string mp3((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    std::ofstream(dir.File("cut.mp3"), std::ios::binary) << mp3.substr(0, mp3.size() / 2 + 77);

    std::vector<int16_t> pcm;
    ASSERT_TRUE(DecodeMp3File(dir.File("cut.mp3").c_str(), pcm));
    EXPECT_GT(pcm.size() / 2, 30000u);
    EXPECT_LT(pcm.size() / 2, 60000u);
}
