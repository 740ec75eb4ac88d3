#include "driver/options.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <cmath>
#include <iostream>

#include "driver/timeline.h"

#ifndef QUILLANE_VERSION
#define QUILLANE_VERSION "0"
#endif

namespace {
bool ParsePositive(std::string_view text, int64_t &value)
{
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value > 0 && value <= 1000000;
}

bool ParseShotTimes(const std::string &text, std::vector<double> &times, std::string &error)
{
    size_t begin = 0;
    while (begin <= text.size()) {
        const size_t comma = std::min(text.find(',', begin), text.size());
        const std::string item = text.substr(begin, comma - begin);
        size_t used = 0;
        double seconds = 0.0;
        try {
            seconds = std::stod(item, &used);
        } catch (const std::exception &) {
            used = 0;
        }
        if (item.empty() || used != item.size() || !std::isfinite(seconds)) {
            error = "--at: '" + item + "' is not a time in seconds";
            return false;
        }
        if (seconds < 0.0 || seconds >= kPresentationEnd / 10.0) {
            error = "--at: " + item + " s is outside the presentation (0 to 225 s)";
            return false;
        }
        times.push_back(seconds);
        begin = comma + 1;
    }
    return true;
}
bool ParseDuration(const std::string &text, double &seconds, std::string &error)
{
    size_t used = 0;
    try {
        seconds = std::stod(text, &used);
    } catch (const std::exception &) {
        used = 0;
    }
    if (text.empty() || used != text.size() || !std::isfinite(seconds) || seconds <= 0.0) {
        error = "--duration: '" + text + "' is not a positive number of seconds";
        return false;
    }
    return true;
}
} // namespace

bool ParseSize(const std::string &text, int &width, int &height)
{
    const size_t x = text.find('x');
    if (x == std::string::npos)
        return false;
    const std::string_view whole(text);
    int64_t w = 0;
    int64_t h = 0;
    if (!ParsePositive(whole.substr(0, x), w) || !ParsePositive(whole.substr(x + 1), h))
        return false;
    if (w < 16 || h < 16 || w > 8192 || h > 8192)
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool ParseFrameRate(const std::string &text, int64_t &numerator, int64_t &denominator)
{
    const size_t slash = text.find('/');
    const std::string_view whole(text);
    if (slash == std::string::npos) {
        denominator = 1;
        return ParsePositive(whole, numerator);
    }
    return ParsePositive(whole.substr(0, slash), numerator) &&
           ParsePositive(whole.substr(slash + 1), denominator);
}

ParseResult ParseOptions(int argc, const char *const *argv, Options &options)
{
    CLI::App app{"quillane: a real-time audiovisual presentation by velmora.\n"
                 "Without options it plays full screen at 800x600; Escape ends it early.",
                 "quillane"};
    app.set_version_flag("--version", std::string("quillane ") + QUILLANE_VERSION);
    std::string at;
    std::string fps;
    std::string size;
    std::string duration;
    auto *windowed = app.add_flag("--windowed", options.windowed, "Play in a window instead of full screen");
    app.add_option("-C", options.directory, "Run in DIR (where data/ is)")->option_text("DIR");
    auto *shots = app.add_option("--shots", options.shotsDirectory,
                                 "Render frames offscreen and write them to DIR as PNG files")
                      ->option_text("DIR");
    app.add_option("--at", at, "Seconds of the frames to shoot, e.g. 5,62.5,224")
        ->option_text("LIST")
        ->needs(shots);
    auto *capture = app.add_option("--capture", options.captureFile,
                                   "Render the presentation offscreen into an H.264/AAC video file")
                        ->option_text("FILE.mp4")
                        ->excludes(shots)
                        ->excludes(windowed);
    app.add_option("--duration", duration, "Capture only the first S seconds")
        ->option_text("S")
        ->needs(capture);
    app.add_option("--fps", fps,
                   "Frame rate of a capture or frame shots (default 60; fractions like 60000/1001)")
        ->option_text("N");
    app.add_option("--size", size, "Size of the picture (default 800x600); another aspect gets black bars")
        ->option_text("WxH");
    app.add_flag("--desktop", options.desktop,
                 "Full screen at the desktop's own resolution, without switching the display mode")
        ->excludes(windowed)
        ->excludes(shots)
        ->excludes(capture)
        ->excludes(app.get_option("--size"));
    shots->needs(app.get_option("--at"));

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success &e) {
        app.exit(e);
        return ParseResult::ExitSuccess;
    } catch (const CLI::ParseError &e) {
        app.exit(e);
        return ParseResult::ExitFailure;
    }

    std::string error;
    if (!fps.empty() && !ParseFrameRate(fps, options.fpsNumerator, options.fpsDenominator))
        error = "--fps: '" + fps + "' is not a frame rate (a positive number such as 60 or 60000/1001)";
    if (error.empty() && !at.empty())
        ParseShotTimes(at, options.shotTimes, error);
    if (error.empty() && !size.empty() && !ParseSize(size, options.width, options.height))
        error = "--size: '" + size + "' is not a size (WIDTHxHEIGHT, each 16 to 8192, such as 1280x960)";
    if (error.empty() && !options.captureFile.empty() && !size.empty() &&
        (options.width % 2 != 0 || options.height % 2 != 0))
        error = "--size: a video needs an even width and height, not " + size;
    if (error.empty() && !duration.empty())
        ParseDuration(duration, options.durationSeconds, error);
    if (!error.empty()) {
        std::cerr << "quillane: " << error << "\nRun with --help for more information.\n";
        return ParseResult::ExitFailure;
    }
    return ParseResult::Run;
}
