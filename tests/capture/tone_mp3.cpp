#include "tone_mp3.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <numbers>

std::vector<int16_t> ToneAfterSilence(int64_t totalSamples, int64_t onsetSample, double frequency,
                                      double peak)
{
    std::vector<int16_t> pcm(static_cast<size_t>(totalSamples) * 2, 0);
    for (int64_t i = onsetSample; i < totalSamples; ++i) {
        const double phase =
            2.0 * std::numbers::pi * frequency * static_cast<double>(i - onsetSample) / 44100.0;
        const auto value = static_cast<int16_t>(std::lround(32767.0 * peak * std::sin(phase)));
        pcm[static_cast<size_t>(i) * 2] = value;
        pcm[static_cast<size_t>(i) * 2 + 1] = value;
    }
    return pcm;
}

bool WriteMp3(const std::string &path, const std::vector<int16_t> &stereo)
{
    lame_global_flags *lame = lame_init();
    if (!lame)
        return false;
    lame_set_in_samplerate(lame, 44100);
    lame_set_out_samplerate(lame, 44100);
    lame_set_num_channels(lame, 2);
    lame_set_brate(lame, 192);
    lame_set_bWriteVbrTag(lame, 1);
    bool ok = lame_init_params(lame) >= 0;

    std::FILE *file = ok ? std::fopen(path.c_str(), "wb") : nullptr;
    ok = file != nullptr;
    const int frames = static_cast<int>(stereo.size() / 2);
    std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * frames + 7200));
    if (ok) {
        const int encoded = lame_encode_buffer_interleaved(lame, const_cast<short *>(stereo.data()), frames,
                                                           mp3.data(), static_cast<int>(mp3.size()));
        ok = encoded >= 0 &&
             std::fwrite(mp3.data(), 1, static_cast<size_t>(encoded), file) == static_cast<size_t>(encoded);
    }
    if (ok) {
        const int flushed = lame_encode_flush(lame, mp3.data(), static_cast<int>(mp3.size()));
        ok = flushed >= 0 &&
             std::fwrite(mp3.data(), 1, static_cast<size_t>(flushed), file) == static_cast<size_t>(flushed);
    }
    if (ok) {
        // The tag goes over the first (placeholder) frame.
        const size_t tagSize = lame_get_lametag_frame(lame, mp3.data(), mp3.size());
        ok = tagSize > 0 && std::fseek(file, 0, SEEK_SET) == 0 &&
             std::fwrite(mp3.data(), 1, tagSize, file) == tagSize;
    }
    if (file)
        ok = std::fclose(file) == 0 && ok;
    lame_close(lame);
    return ok;
}
