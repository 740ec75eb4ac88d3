#include "driver/capture_progress.h"

#include <algorithm>
#include <cmath>

namespace {
struct Figures {
    int percent;
    double fps;
    std::string left; // time left, "m:ss" or "h:mm:ss"; "--:--" before there is a rate
};

Figures Measure(int64_t frames, int64_t total, double elapsed)
{
    Figures figures;
    figures.percent = total > 0 ? static_cast<int>(std::min<int64_t>(100, frames * 100 / total)) : 100;
    figures.fps = elapsed > 0.0 ? static_cast<double>(frames) / elapsed : 0.0;
    if (figures.fps <= 0.0) {
        figures.left = "--:--";
        return figures;
    }
    const auto seconds = static_cast<int64_t>(
        std::ceil(static_cast<double>(std::max<int64_t>(0, total - frames)) / figures.fps));
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    figures.left = text;
    return figures;
}
} // namespace

std::string FormatProgressBar(int64_t frames, int64_t total, double elapsedSeconds)
{
    constexpr int kBarWidth = 30;
    const Figures figures = Measure(frames, total, elapsedSeconds);
    const int filled = figures.percent * kBarWidth / 100;
    char bar[kBarWidth + 3];
    bar[0] = '[';
    for (int i = 0; i < kBarWidth; ++i)
        bar[1 + i] = i < filled ? '#' : '-';
    bar[kBarWidth + 1] = ']';
    bar[kBarWidth + 2] = '\0';
    char text[192];
    std::snprintf(text, sizeof text, "%s %6lld/%lld frames %3d%% %6.1f fps  %s left", bar,
                  static_cast<long long>(frames), static_cast<long long>(total), figures.percent, figures.fps,
                  figures.left.c_str());
    return text;
}

std::string FormatProgressLine(int64_t frames, int64_t total, double elapsedSeconds)
{
    const Figures figures = Measure(frames, total, elapsedSeconds);
    char text[160];
    std::snprintf(text, sizeof text, "quillane: capture %d%% (%lld/%lld frames, %.1f fps, %s left)",
                  figures.percent, static_cast<long long>(frames), static_cast<long long>(total), figures.fps,
                  figures.left.c_str());
    return text;
}

CaptureProgress::CaptureProgress(int64_t totalFrames, std::FILE *stream, bool isTerminal)
    : total(totalFrames), out(stream), terminal(isTerminal), start(std::chrono::steady_clock::now())
{
}

double CaptureProgress::Elapsed() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void CaptureProgress::Update(int64_t frames)
{
    if (frames <= 1) {
        // Count from the first frame: loading the media is no part of the rate.
        start = std::chrono::steady_clock::now();
        return;
    }
    const double elapsed = Elapsed();
    if (terminal) {
        // A few redraws a second are plenty; more would cost the capture time.
        if (elapsed - lastDraw < 0.2)
            return;
        lastDraw = elapsed;
        std::fprintf(out, "\r%s", FormatProgressBar(frames, total, elapsed).c_str());
        std::fflush(out);
        return;
    }
    const int64_t tenths = total > 0 ? std::min<int64_t>(10, frames * 10 / total) : 10;
    if (tenths > tenthsReported) {
        tenthsReported = tenths;
        std::fprintf(out, "%s\n", FormatProgressLine(frames, total, elapsed).c_str());
        std::fflush(out);
    }
}

void CaptureProgress::Done(int64_t frames)
{
    if (terminal) {
        std::fprintf(out, "\r%s\n", FormatProgressBar(frames, total, Elapsed()).c_str());
        std::fflush(out);
    }
}
