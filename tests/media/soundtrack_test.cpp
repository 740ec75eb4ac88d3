// The generated soundtrack: its length, format, level, and the spectrum
// entries the scenes read, loud where they read them.
#include "sound/pcm_decoder.h"
#include "sound/fft_magnitudes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Decoded {
    long rate = 0;
    int channels = 0;
    std::vector<float> samples; // interleaved, -1..1
    std::vector<int16_t> pcm;   // as the presentation decodes it
};

// Decoded by the presentation's own decoder, which always gives 44100 Hz stereo.
Decoded DecodeMp3(const std::string &path)
{
    Decoded out;
    if (!DecodeMp3File(path.c_str(), out.pcm))
        return out;
    out.rate = kPcmRate;
    out.channels = kPcmChannels;
    out.samples.reserve(out.pcm.size());
    for (int16_t s : out.pcm)
        out.samples.push_back(static_cast<float>(s) / 32768.0f);
    return out;
}

// A few entries of the presentation's own spectrum, read every 735 frames (60 per second).
struct SpectrumTrack {
    static constexpr int kHop = 735;
    std::vector<int> entries;
    std::vector<std::vector<float>> values; // [entry][reading]

    SpectrumTrack(const Decoded &track, std::vector<int> wanted) : entries(std::move(wanted))
    {
        SpectrumAnalyser analyser;
        std::vector<float> spectrum(SpectrumAnalyser::kBins);
        values.resize(entries.size());
        const size_t frames = track.pcm.size() / 2;
        for (size_t start = 0; start + SpectrumAnalyser::kFrames <= frames; start += kHop) {
            analyser.Analyse(track.pcm.data() + 2 * start, spectrum.data());
            for (size_t e = 0; e < entries.size(); ++e)
                values[e].push_back(spectrum[static_cast<size_t>(entries[e])]);
        }
    }
    // The reading whose window starts at this time.
    static size_t At(double seconds) { return static_cast<size_t>(seconds * 44100 / kHop); }
};

class Soundtrack : public ::testing::Test {
  protected:
    static void SetUpTestSuite()
    {
        track = new Decoded(DecodeMp3(std::string(QUILLANE_DATA_DIR) + "/morvane.mp3"));
    }
    static void TearDownTestSuite()
    {
        delete track;
        track = nullptr;
    }
    static Decoded *track;
};
Decoded *Soundtrack::track = nullptr;

TEST_F(Soundtrack, DecodesToTheFullLengthInStereoAt44100)
{
    ASSERT_EQ(track->rate, 44100);
    ASSERT_EQ(track->channels, 2);
    const double seconds = static_cast<double>(track->samples.size()) / 2 / 44100;
    EXPECT_GE(seconds, 225.0);
    EXPECT_LE(seconds, 228.0);
    // The gapless tag lets the decoder restore the exact length the generator rendered.
    EXPECT_NEAR(seconds, 226.0, 0.001);
}

TEST_F(Soundtrack, PeaksStayBelowMinusOneDecibel)
{
    ASSERT_FALSE(track->samples.empty());
    float peak = 0;
    for (float s : track->samples)
        peak = std::max(peak, std::abs(s));
    EXPECT_LT(peak, std::pow(10.0f, -1.0f / 20));
    EXPECT_GT(peak, 0.5f) << "too quiet";
}

TEST_F(Soundtrack, MusicIsThereUntilTheCloseAndThenStops)
{
    auto rms = [&](double from, double to) {
        double sum = 0;
        const size_t a = static_cast<size_t>(from * 44100) * 2, b = static_cast<size_t>(to * 44100) * 2;
        for (size_t i = a; i < b && i < track->samples.size(); ++i)
            sum += static_cast<double>(track->samples[i]) * track->samples[i];
        return std::sqrt(sum / static_cast<double>(b - a));
    };
    for (double t = 0; t < 220; t += 5)
        EXPECT_GT(rms(t, t + 5), 0.01) << "silence at " << t << " s";
    EXPECT_LT(rms(225.2, 226.0), 0.001);
}

// The four places where a scene reads one spectrum entry: the entry must be
// well above its level in the rest of the track there.
TEST_F(Soundtrack, SpectrumEntriesAreLoudWhereTheScenesReadThem)
{
    struct Reading {
        int entry;
        double from, to;
    };
    const Reading readings[] = {{30, 0, 14}, {25, 14, 21}, {7, 103, 131}, {4, 135, 149}};
    const SpectrumTrack spectrum(*track, {4, 7, 25, 30});
    ASSERT_GT(spectrum.values[0].size(), SpectrumTrack::At(220));
    auto column = [&](int entry) {
        return spectrum.values[static_cast<size_t>(
            std::find(spectrum.entries.begin(), spectrum.entries.end(), entry) - spectrum.entries.begin())];
    };
    // The figures, for the record: mean and peak of each entry in each section.
    for (const Reading &section : readings) {
        std::string line = "section " + std::to_string(static_cast<int>(section.from)) + "-" +
                           std::to_string(static_cast<int>(section.to)) + " s:";
        for (int entry : spectrum.entries) {
            const std::vector<float> &v = column(entry);
            double sum = 0;
            float peak = 0;
            const size_t a = SpectrumTrack::At(section.from), b = SpectrumTrack::At(section.to);
            for (size_t i = a; i < b; ++i)
                sum += v[i], peak = std::max(peak, v[i]);
            char text[64];
            std::snprintf(text, sizeof text, "  [%d] mean %.3f peak %.3f", entry,
                          sum / static_cast<double>(b - a), peak);
            line += text;
        }
        std::printf("%s\n", line.c_str());
    }
    for (const Reading &section : readings) {
        SCOPED_TRACE("entry " + std::to_string(section.entry));
        const std::vector<float> &v = column(section.entry);
        const size_t a = SpectrumTrack::At(section.from), b = SpectrumTrack::At(section.to);
        double inside = 0, outside = 0;
        for (size_t i = 0; i < v.size(); ++i)
            (i >= a && i < b ? inside : outside) += v[i];
        inside /= static_cast<double>(b - a);
        outside /= static_cast<double>(v.size() - (b - a));
        std::printf("entry %d: %.3f in %g-%g s, %.3f elsewhere (ratio %.2f)\n", section.entry, inside,
                    section.from, section.to, outside, inside / outside);
        EXPECT_GT(inside, 2.0 * outside);
        EXPECT_GT(inside, 0.05) << "too weak to move the picture";
    }
}
} // namespace
