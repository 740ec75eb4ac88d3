#include "driver/capture.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>

#include "driver/capture_progress.h"
#include "driver/capture_signals.h"
#include "driver/capture_sink.h"
#include "driver/capture_writer.h"
#include "driver/main_loop.h"
#include "driver/timeline.h"
#include "platform/clock.h"
#include "sound/pcm_decoder.h"

int64_t CaptureFrameCount(double durationSeconds, int64_t fpsNumerator, int64_t fpsDenominator)
{
    const double end = static_cast<double>(kPresentationEnd) / 10.0;
    const double seconds = durationSeconds > 0.0 ? std::min(durationSeconds, end) : end;
    // The first pass at or past the end is not drawn. A hair of tolerance keeps
    // 0.3 s at 10 fps three frames, although 0.3 * 10 is a little above 3.
    const double passes = seconds * static_cast<double>(fpsNumerator) / static_cast<double>(fpsDenominator);
    return static_cast<int64_t>(std::ceil(passes - 1e-9 * std::max(1.0, passes)));
}

std::vector<int16_t> LoadCaptureSound(const char *path)
{
    std::vector<int16_t> pcm;
    if (DecodeMp3File(path, pcm))
        return pcm;
    std::fprintf(stderr, "quillane: cannot read the soundtrack %s; the video's sound is silent\n", path);
    pcm.clear();
    return pcm;
}

int RunCapture(const CaptureRequest &request)
{
    const int64_t presentationFrames = CaptureFrameCount(0.0, request.fpsNumerator, request.fpsDenominator);
    const int64_t limit =
        request.durationSeconds > 0.0
            ? CaptureFrameCount(request.durationSeconds, request.fpsNumerator, request.fpsDenominator)
            : 0;

    VideoSettings settings;
    settings.path = request.path;
    settings.width = request.width;
    settings.height = request.height;
    settings.fpsNumerator = request.fpsNumerator;
    settings.fpsDenominator = request.fpsDenominator;
    settings.x264Preset = request.x264Preset;
    VideoWriter writer(settings);
    if (!writer.Ok()) {
        std::fprintf(stderr, "quillane: %s\n", writer.Error().c_str());
        return 1;
    }

    InterruptGuard interruptGuard;
    CaptureProgress progress(limit > 0 ? limit : presentationFrames, stderr, isatty(STDERR_FILENO) != 0);
    CaptureSink sink(
        writer, limit, [] { return LoadCaptureSound(kSoundtrackPath); },
        [&progress](int64_t frames) { progress.Update(frames); });

    FixedStepClock clock(request.fpsNumerator, request.fpsDenominator);
    PresentationConfig config;
    config.fullScreen = false;
    config.fixedStep = &clock;
    config.frameSink = &sink;
    config.windowSize.width = request.width;
    config.windowSize.height = request.height;

    const auto started = std::chrono::steady_clock::now();
    RunPresentation(config);
    if (sink.FramesTaken() == 0 && sink.StopReason() != CaptureSink::Stop::Interrupted)
        writer.Abandon("nothing was rendered (no GL context?)");
    const bool ok = sink.Finish();
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    progress.Done(sink.FramesTaken());
    if (!ok) {
        std::fprintf(stderr, "quillane: %s; no video was written\n", writer.Error().c_str());
        return 1;
    }

    const int64_t frames = writer.FramesWritten();
    const double seconds = static_cast<double>(frames) * static_cast<double>(request.fpsDenominator) /
                           static_cast<double>(request.fpsNumerator);
    std::fprintf(stderr,
                 "quillane: %lld frames (%.3f s of video) in %.1f s, %.2f x real time; rendering %.1f s, "
                 "waiting for the encoder %.1f s, encoding %.1f s on its own thread\n",
                 static_cast<long long>(frames), seconds, elapsed, seconds > 0.0 ? elapsed / seconds : 0.0,
                 sink.renderSeconds, sink.waitSeconds, sink.encodeSeconds);
    int status = 0;
    if (sink.StopReason() == CaptureSink::Stop::Interrupted) {
        const int signal = InterruptSignal();
        std::fprintf(stderr,
                     "quillane: interrupted by %s; the video holds the %lld frames rendered until then\n",
                     signal == SIGTERM ? "SIGTERM" : "SIGINT", static_cast<long long>(frames));
        status = 128 + signal;
    }
    std::printf("%s\n", request.path.c_str());
    std::fflush(stdout);
    return status;
}
