#include "sound/decoded_stream.h"

#include <algorithm>
#include <cstring>

namespace {
// Small pieces, so the first frames are ready at once and waiters wake often.
constexpr size_t kPieceFrames = 4096;
} // namespace

std::unique_ptr<DecodedStream> DecodedStream::Open(const char *path)
{
    auto decoder = std::make_unique<Mp3Decoder>(path);
    if (!decoder->IsOpen())
        return nullptr;
    std::unique_ptr<DecodedStream> stream(new DecodedStream(std::move(decoder)));
    stream->worker = std::thread([raw = stream.get()] { raw->Decode(); });
    return stream;
}

DecodedStream::DecodedStream(std::unique_ptr<Mp3Decoder> mp3) : decoder(std::move(mp3)) {}

DecodedStream::~DecodedStream()
{
    stopRequested.store(true, std::memory_order_relaxed);
    if (worker.joinable())
        worker.join();
}

void DecodedStream::Decode()
{
    int64_t frames = 0;
    while (frames < kPcmMaxFrames && !stopRequested.load(std::memory_order_relaxed)) {
        std::unique_ptr<int16_t[]> &chunk = chunks[static_cast<size_t>(frames >> kChunkShift)];
        if (!chunk)
            chunk.reset(new int16_t[static_cast<size_t>(kChunkFrames) * kPcmChannels]);
        const int64_t offset = frames & (kChunkFrames - 1);
        const size_t want = std::min(kPieceFrames, static_cast<size_t>(kChunkFrames - offset));
        const size_t got = decoder->Read(chunk.get() + offset * kPcmChannels, want);
        frames += static_cast<int64_t>(got);
        {
            std::lock_guard<std::mutex> lock(progressMutex);
            available.store(frames, std::memory_order_release);
        }
        progress.notify_all();
        if (got < want)
            break;
    }
    decoder.reset(); // the file is closed as soon as it is read
    {
        std::lock_guard<std::mutex> lock(progressMutex);
        finished.store(true, std::memory_order_release);
    }
    progress.notify_all();
}

void DecodedStream::WaitFor(int64_t frames)
{
    std::unique_lock<std::mutex> lock(progressMutex);
    progress.wait(lock, [&] { return Finished() || Available() >= frames; });
}

void DecodedStream::CopyFrames(int64_t first, int64_t count, int16_t *out) const
{
    const int64_t decoded = Available();
    int64_t frame = first;
    const int64_t end = first + count;
    while (frame < end) {
        int16_t *target = out + (frame - first) * kPcmChannels;
        if (frame < 0 || frame >= decoded) {
            // Silence up to frame 0, or to the end of the request.
            const int64_t silent = (frame < 0 ? std::min(end, int64_t{0}) : end) - frame;
            std::memset(target, 0, static_cast<size_t>(silent) * kPcmBytesPerFrame);
            frame += silent;
            continue;
        }
        const int64_t offset = frame & (kChunkFrames - 1);
        const int64_t run = std::min({end - frame, kChunkFrames - offset, decoded - frame});
        std::memcpy(target, chunks[static_cast<size_t>(frame >> kChunkShift)].get() + offset * kPcmChannels,
                    static_cast<size_t>(run) * kPcmBytesPerFrame);
        frame += run;
    }
}
