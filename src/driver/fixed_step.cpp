#include "driver/fixed_step.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "assets/png_writer.h"
#include "driver/main_loop.h"

int64_t PassAt(const FixedStepClock &clock, double seconds)
{
    return std::llround(seconds * static_cast<double>(clock.fpsNumerator) /
                        static_cast<double>(clock.fpsDenominator));
}

ShotSink::ShotSink(const FixedStepClock &fixedClock, std::string dir, const std::vector<double> &seconds)
    : clock(fixedClock), directory(std::move(dir))
{
    for (double s : seconds)
        passes.push_back(PassAt(clock, s));
    std::sort(passes.begin(), passes.end());
    passes.erase(std::unique(passes.begin(), passes.end()), passes.end());
}

bool ShotSink::TakeFrame(const uint8_t *pixels, int width, int height)
{
    while (next < passes.size() && passes[next] < clock.Pass())
        ++next; // a pass that drew no frame has nothing to shoot
    if (next < passes.size() && passes[next] == clock.Pass()) {
        const size_t row = static_cast<size_t>(width) * 3;
        flipped.resize(row * static_cast<size_t>(height));
        for (int y = 0; y < height; ++y)
            std::memcpy(&flipped[row * static_cast<size_t>(y)],
                        pixels + row * static_cast<size_t>(height - 1 - y), row);
        char name[32];
        std::snprintf(name, sizeof name, "%07.3f.png", clock.PassSeconds(clock.Pass()));
        const std::string path = (std::filesystem::path(directory) / name).string();
        if (WritePng(path, flipped.data(), width, height, 3)) {
            written.push_back(path);
        } else {
            std::fprintf(stderr, "quillane: cannot write %s\n", path.c_str());
            failed = true;
            return false;
        }
        ++next;
    }
    return next < passes.size();
}

int RunShots(const std::string &directory, const std::vector<double> &seconds, int64_t fpsNumerator,
             int64_t fpsDenominator, const WindowSize &size)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::fprintf(stderr, "quillane: cannot create %s: %s\n", directory.c_str(), error.message().c_str());
        return 1;
    }
    FixedStepClock clock(fpsNumerator, fpsDenominator);
    ShotSink sink(clock, directory, seconds);
    PresentationConfig config;
    config.fullScreen = false;
    config.fixedStep = &clock;
    config.frameSink = &sink;
    config.windowSize = size;
    RunPresentation(config);
    for (const std::string &path : sink.Written())
        std::printf("%s\n", path.c_str());
    if (!sink.Complete()) {
        std::fprintf(stderr, "quillane: the frame shots were not all written\n");
        return 1;
    }
    return 0;
}
