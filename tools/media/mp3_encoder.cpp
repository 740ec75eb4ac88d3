#include "mp3_encoder.h"

#include "synth.h"

#include <lame/lame.h>

#include <algorithm>
#include <cstring>

std::vector<uint8_t> EncodeMp3(const Soundtrack &track, int quality)
{
    std::vector<uint8_t> out;
    lame_global_flags *lame = lame_init();
    if (!lame)
        return out;
    lame_set_in_samplerate(lame, kSampleRate);
    lame_set_out_samplerate(lame, kSampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, 192);
    lame_set_quality(lame, quality);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return out;
    }
    const size_t frames = track.left.size();
    constexpr size_t chunk = 8192;
    std::vector<unsigned char> buffer(chunk * 5 / 4 + 7200);
    bool ok = true;
    for (size_t at = 0; at < frames && ok; at += chunk) {
        const int n = static_cast<int>(std::min(chunk, frames - at));
        const int written = lame_encode_buffer_ieee_float(lame, track.left.data() + at, track.right.data() + at, n,
                                                          buffer.data(), static_cast<int>(buffer.size()));
        ok = written >= 0;
        if (ok)
            out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    if (ok) {
        const int written = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
        ok = written >= 0;
        if (ok)
            out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    // The encoder reserved the first frame for the tag; fill it in now that the
    // length and padding are known.
    if (ok) {
        std::vector<unsigned char> tag(8192);
        const size_t size = lame_get_lametag_frame(lame, tag.data(), tag.size());
        ok = size > 0 && size <= out.size();
        if (ok)
            std::memcpy(out.data(), tag.data(), size);
    }
    lame_close(lame);
    if (!ok)
        out.clear();
    return out;
}
