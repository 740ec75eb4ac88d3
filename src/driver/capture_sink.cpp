#include "driver/capture_sink.h"

#include <chrono>
#include <cstring>

#include "driver/capture_signals.h"
#include "driver/capture_writer.h"

namespace {
double Now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
} // namespace

CaptureSink::CaptureSink(VideoWriter &videoWriter, int64_t frameLimit,
                         std::function<std::vector<int16_t>()> soundLoader,
                         std::function<void(int64_t)> frameDone)
    : writer(videoWriter), limit(frameLimit), loadSound(std::move(soundLoader)), onFrame(std::move(frameDone))
{
    buffers.resize(kQueuedFrames);
    for (size_t i = 0; i < buffers.size(); ++i)
        freeBuffers.push_back(i);
    encoder = std::thread([this] { EncoderLoop(); });
}

CaptureSink::~CaptureSink()
{
    {
        std::lock_guard lock(mutex);
        ending = true;
    }
    changed.notify_all();
    if (encoder.joinable())
        encoder.join();
}

bool CaptureSink::TakeFrame(const uint8_t *pixels, int width, int height)
{
    const double entered = Now();
    if (lastReturn >= 0.0)
        renderSeconds += entered - lastReturn;

    if (InterruptSignal() != 0) {
        stop = Stop::Interrupted; // the frame in hand is not kept: the run ends before it
        return false;
    }
    if (width != writer.Width() || height != writer.Height()) {
        // The window system gave another drawable than the video was set up for.
        sizeError = "the picture is " + std::to_string(width) + "x" + std::to_string(height) + ", not the " +
                    std::to_string(writer.Width()) + "x" + std::to_string(writer.Height()) + " asked for";
        stop = Stop::Failed;
        return false;
    }
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    size_t slot = 0;
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [this] { return failed || !freeBuffers.empty(); });
        if (failed) {
            stop = Stop::Failed;
            return false;
        }
        slot = freeBuffers.back();
        freeBuffers.pop_back();
    }
    const double gotBuffer = Now();
    waitSeconds += gotBuffer - entered;

    buffers[slot].resize(bytes);
    std::memcpy(buffers[slot].data(), pixels, bytes);
    {
        std::lock_guard lock(mutex);
        readyFrames.push_back(slot);
    }
    changed.notify_all();
    ++taken;
    if (onFrame)
        onFrame(taken);

    lastReturn = Now();
    if (limit > 0 && taken >= limit) {
        stop = Stop::Limit;
        return false;
    }
    return true;
}

void CaptureSink::EncoderLoop()
{
    if (loadSound)
        writer.SetSound(loadSound());
    for (;;) {
        size_t slot = 0;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [this] { return ending || !readyFrames.empty(); });
            if (readyFrames.empty())
                return; // ending, and every frame is written
            slot = readyFrames.front();
            readyFrames.pop_front();
        }
        bool ok = true;
        if (!failed) {
            const double started = Now();
            ok = writer.WriteFrame(buffers[slot].data());
            encodeSeconds += Now() - started;
        }
        {
            std::lock_guard lock(mutex);
            freeBuffers.push_back(slot);
            if (!ok)
                failed = true;
        }
        changed.notify_all();
    }
}

bool CaptureSink::Finish()
{
    if (finished)
        return writer.Ok();
    finished = true;
    {
        std::lock_guard lock(mutex);
        ending = true;
    }
    changed.notify_all();
    if (encoder.joinable())
        encoder.join();
    if (!sizeError.empty())
        writer.Abandon(sizeError);
    return writer.Finish();
}
