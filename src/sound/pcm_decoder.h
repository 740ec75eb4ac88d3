#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct mpg123_handle_struct;

// Every decoded sound in the presentation has this one shape, whatever the
// file holds: 44100 Hz, two interleaved channels, signed 16-bit samples.
constexpr int kPcmRate = 44100;
constexpr int kPcmChannels = 2;
constexpr int kPcmBytesPerFrame = 4;

// A file that decodes to more than this is cut here (about 25 minutes, 256 MiB),
// so a hostile file cannot make us allocate without bound.
constexpr int64_t kPcmMaxFrames = int64_t{1} << 26;

// One MP3 file decoded piece by piece, gapless (encoder delay and padding
// removed when the file carries a LAME or Xing tag), resampled and
// channel-converted by libmpg123 to the shape above. The constructor opens the
// file and reads its first frame; IsOpen tells whether that worked.
class Mp3Decoder {
  public:
    explicit Mp3Decoder(const char *path);
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder &) = delete;
    Mp3Decoder &operator=(const Mp3Decoder &) = delete;

    bool IsOpen() const { return handle != nullptr; }
    // Decodes up to maxFrames frames into out (2 * maxFrames samples). Returns
    // the frames written; 0 once the file has ended or cannot be decoded further.
    size_t Read(int16_t *out, size_t maxFrames);

  private:
    mpg123_handle_struct *handle = nullptr;
    bool ended = false;
};

// Decodes a whole MP3 file to 44100 Hz interleaved stereo int16 (gapless). False, with pcm empty, when the
// file cannot be opened or decoded.
bool DecodeMp3File(const char *path, std::vector<int16_t> &pcm);
