#include <SDL.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/capture.h"
#include "driver/fixed_step.h"
#include "driver/main_loop.h"
#include "driver/options.h"
#include "platform/message.h"

int main(int argc, char **argv)
{
    Options options;
    switch (ParseOptions(argc, argv, options)) {
    case ParseResult::ExitSuccess:
        return 0;
    case ParseResult::ExitFailure:
        return 2;
    case ParseResult::Run:
        break;
    }

    if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) {
        std::fprintf(stderr, "quillane: cannot change to %s: %s\n", options.directory.c_str(),
                     std::strerror(errno));
        return 1;
    }

    WindowSize size;
    size.width = options.width;
    size.height = options.height;
    size.desktop = options.desktop;

    if (!options.shotsDirectory.empty() || !options.captureFile.empty()) {
        // Offscreen: no display, no sound card, and never a box.
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        if (!options.shotsDirectory.empty())
            return RunShots(options.shotsDirectory, options.shotTimes, options.fpsNumerator,
                            options.fpsDenominator, size);
        CaptureRequest capture;
        capture.path = options.captureFile;
        if (options.width > 0) {
            capture.width = options.width;
            capture.height = options.height;
        }
        capture.fpsNumerator = options.fpsNumerator;
        capture.fpsDenominator = options.fpsDenominator;
        capture.durationSeconds = options.durationSeconds;
        // The benchmark compares x264's speed settings through this.
        if (const char *preset = std::getenv("QUILLANE_X264_PRESET"))
            capture.x264Preset = preset;
        return RunCapture(capture);
    }

    // A box only where a person can answer it.
    const char *driver = std::getenv("SDL_VIDEODRIVER");
    const bool offscreen =
        driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
    SetMessageBoxesAllowed(!offscreen && (std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY")));

    PresentationConfig config;
    config.fullScreen = !options.windowed;
    config.windowSize = size;
    return RunPresentation(config);
}
