#include "mp3_fixture.h"

#include <lame/lame.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <numbers>
#include <random>

TempDir::TempDir()
{
    std::random_device random;
    path = std::filesystem::temp_directory_path() /
           ("quillane-sound-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

bool WriteMp3(const std::string &path, const std::vector<int16_t> &pcm, int rate, int channels, int kbps)
{
    lame_global_flags *lame = lame_init();
    if (!lame)
        return false;
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 1 ? MONO : STEREO);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return false;
    }

    const size_t frames = pcm.size() / static_cast<size_t>(channels);
    std::vector<int16_t> left(frames), right(frames);
    for (size_t i = 0; i < frames; ++i) {
        left[i] = pcm[i * static_cast<size_t>(channels)];
        right[i] = pcm[i * static_cast<size_t>(channels) + static_cast<size_t>(channels - 1)];
    }
    std::vector<unsigned char> mp3(frames * 5 / 4 + 7200 + 16384);
    std::vector<unsigned char> file;
    constexpr size_t kBlock = 8192;
    for (size_t at = 0; at < frames; at += kBlock) {
        const int count = static_cast<int>(std::min(kBlock, frames - at));
        const int written =
            lame_encode_buffer(lame, &left[at], &right[at], count, mp3.data(), static_cast<int>(mp3.size()));
        if (written < 0) {
            lame_close(lame);
            return false;
        }
        file.insert(file.end(), mp3.begin(), mp3.begin() + written);
    }
    const int flushed = lame_encode_flush(lame, mp3.data(), static_cast<int>(mp3.size()));
    if (flushed < 0) {
        lame_close(lame);
        return false;
    }
    file.insert(file.end(), mp3.begin(), mp3.begin() + flushed);
    // The tag (encoder delay and padding) goes over the frame LAME reserved for it.
    unsigned char tag[4096];
    const size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    lame_close(lame);
    if (tagSize == 0 || tagSize > file.size())
        return false;
    std::copy(tag, tag + tagSize, file.begin());

    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

double BinCentre(int bin)
{
    return bin * 44100.0 / 1024.0;
}

void AppendTone(std::vector<int16_t> &pcm, int channels, int rate, int64_t frames, double leftHz,
                double rightHz, double amplitude)
{
    const double hz[2] = {leftHz, rightHz};
    for (int64_t n = 0; n < frames; ++n)
        for (int c = 0; c < channels; ++c) {
            const double phase = 2.0 * std::numbers::pi * hz[c] * static_cast<double>(n) / rate;
            pcm.push_back(static_cast<int16_t>(std::lround(32767.0 * amplitude * std::sin(phase))));
        }
}

std::vector<int16_t> ReadPcmFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<int16_t> pcm(bytes.size() / 2);
    std::memcpy(pcm.data(), bytes.data(), pcm.size() * 2);
    return pcm;
}
