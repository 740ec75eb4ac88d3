#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/glwindow.h"

class VideoWriter;

// Hands the rendered frames to a VideoWriter on an encoder thread of its own,
// through a small fixed set of frame buffers: rendering and encoding overlap,
// and rendering waits only when the encoder is a whole queue behind. Ends the
// run after the frame limit, on Ctrl+C or SIGTERM, or when writing failed.
class CaptureSink final : public FrameSink {
  public:
    static constexpr int kQueuedFrames = 3;

    enum class Stop { None, Limit, Interrupted, Failed };

    // frameLimit 0: no limit. loadSound runs on the encoder thread before the
    // first frame is encoded (decoding overlaps loading and rendering).
    CaptureSink(VideoWriter &writer, int64_t frameLimit, std::function<std::vector<int16_t>()> loadSound,
                std::function<void(int64_t frames)> onFrame);
    ~CaptureSink() override;
    CaptureSink(const CaptureSink &) = delete;
    CaptureSink &operator=(const CaptureSink &) = delete;

    bool TakeFrame(const uint8_t *pixels, int width, int height) override;

    // Waits for the encoder and completes the file. False when anything failed
    // (the writer's message says what).
    bool Finish();

    Stop StopReason() const { return stop; }
    int64_t FramesTaken() const { return taken; }

    // Where the time went, in seconds: the main thread between frames
    // (rendering), the main thread waiting for a free buffer, the encoder
    // thread converting, encoding and writing.
    double renderSeconds = 0.0;
    double waitSeconds = 0.0;
    double encodeSeconds = 0.0;

  private:
    void EncoderLoop();

    VideoWriter &writer;
    int64_t limit;
    std::function<std::vector<int16_t>()> loadSound;
    std::function<void(int64_t)> onFrame;

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::vector<uint8_t>> buffers;
    std::vector<size_t> freeBuffers; // guarded by mutex
    std::deque<size_t> readyFrames;  // guarded by mutex
    bool ending = false;             // guarded by mutex: no more frames come
    bool failed = false;             // guarded by mutex: the writer failed
    std::thread encoder;

    Stop stop = Stop::None;
    int64_t taken = 0;
    bool finished = false;
    std::string sizeError;
    double lastReturn = -1.0;
};
