#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "sound/pcm_decoder.h"

// An MP3 file decoding ahead on a worker thread into memory that never moves,
// so the audio callback and the spectrum can read what is decoded while the
// rest is still coming. Open returns as soon as the first frame has parsed.
class DecodedStream {
  public:
    // nullptr when the file cannot be opened or holds no MPEG audio.
    static std::unique_ptr<DecodedStream> Open(const char *path);
    ~DecodedStream();
    DecodedStream(const DecodedStream &) = delete;
    DecodedStream &operator=(const DecodedStream &) = delete;

    // Frames decoded so far; they never change once counted.
    int64_t Available() const { return available.load(std::memory_order_acquire); }
    bool Finished() const { return finished.load(std::memory_order_acquire); }
    // Blocks until frames [0, frames) are decoded or the file has ended.
    void WaitFor(int64_t frames);
    void WaitUntilFinished() { WaitFor(kPcmMaxFrames); }

    // Copies frames [first, first + count) as interleaved stereo; frames before
    // the start, past the end or not decoded yet are silence. Never blocks.
    void CopyFrames(int64_t first, int64_t count, int16_t *out) const;

  private:
    static constexpr int kChunkShift = 16;
    static constexpr int64_t kChunkFrames = int64_t{1} << kChunkShift;
    static constexpr size_t kChunks = static_cast<size_t>(kPcmMaxFrames >> kChunkShift);

    explicit DecodedStream(std::unique_ptr<Mp3Decoder> decoder);
    void Decode();

    std::unique_ptr<Mp3Decoder> decoder;
    // Written by the worker only, each chunk before the frames in it are counted.
    std::array<std::unique_ptr<int16_t[]>, kChunks> chunks;
    std::atomic<int64_t> available{0};
    std::atomic<bool> finished{false};
    std::atomic<bool> stopRequested{false};
    std::mutex progressMutex;
    std::condition_variable progress;
    std::thread worker;
};
