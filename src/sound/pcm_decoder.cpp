#include "sound/pcm_decoder.h"

#include <mpg123.h>

#include <algorithm>

Mp3Decoder::Mp3Decoder(const char *path)
{
    if (!path)
        return;
    int error = MPG123_OK;
    mpg123_handle *decoder = mpg123_new(nullptr, &error);
    if (!decoder)
        return;
    // Only one output format is allowed, so libmpg123 converts channels and
    // resamples (its automatic resampler) whatever the file holds.
    const bool configured =
        mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0) == MPG123_OK &&
        mpg123_format_none(decoder) == MPG123_OK &&
        mpg123_format(decoder, kPcmRate, MPG123_STEREO, MPG123_ENC_SIGNED_16) == MPG123_OK;
    if (!configured || mpg123_open(decoder, path) != MPG123_OK) {
        mpg123_delete(decoder);
        return;
    }
    // Reading the format parses the first frame: a file with no MPEG audio in it fails here.
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(decoder, &rate, &channels, &encoding) != MPG123_OK || rate != kPcmRate ||
        channels != kPcmChannels || encoding != MPG123_ENC_SIGNED_16) {
        mpg123_close(decoder);
        mpg123_delete(decoder);
        return;
    }
    handle = decoder;
}

Mp3Decoder::~Mp3Decoder()
{
    if (handle) {
        mpg123_close(handle);
        mpg123_delete(handle);
    }
}

size_t Mp3Decoder::Read(int16_t *out, size_t maxFrames)
{
    if (!handle || ended)
        return 0;
    size_t frames = 0;
    while (frames < maxFrames) {
        size_t bytes = 0;
        const int result = mpg123_read(handle, reinterpret_cast<unsigned char *>(out + frames * kPcmChannels),
                                       (maxFrames - frames) * kPcmBytesPerFrame, &bytes);
        // The output is whole sample pairs: the buffer is, and so is every decoded frame.
        frames += bytes / kPcmBytesPerFrame;
        if (result != MPG123_OK && result != MPG123_NEW_FORMAT) {
            ended = true; // MPG123_DONE, or an error the decoder could not resync past
            break;
        }
    }
    return frames;
}

bool DecodeMp3File(const char *path, std::vector<int16_t> &pcm)
{
    pcm.clear();
    Mp3Decoder decoder(path);
    if (!decoder.IsOpen())
        return false;
    constexpr size_t kStep = size_t{1} << 16;
    size_t frames = 0;
    while (frames < static_cast<size_t>(kPcmMaxFrames)) {
        const size_t want = std::min(kStep, static_cast<size_t>(kPcmMaxFrames) - frames);
        pcm.resize((frames + want) * kPcmChannels);
        const size_t got = decoder.Read(pcm.data() + frames * kPcmChannels, want);
        frames += got;
        if (got < want)
            break;
    }
    pcm.resize(frames * kPcmChannels);
    if (frames == 0)
        return false;
    return true;
}
