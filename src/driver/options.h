#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Options {
    bool windowed = false;
    std::string directory;         // -C: where data/ is
    std::string shotsDirectory;    // --shots
    std::vector<double> shotTimes; // --at, seconds
    int64_t fpsNumerator = 60;     // --fps, a whole number or a fraction
    int64_t fpsDenominator = 1;
    int width = 0; // --size WxH; 0: 800x600
    int height = 0;
    bool desktop = false;         // --desktop: full screen at the desktop's resolution
    std::string captureFile;      // --capture
    double durationSeconds = 0.0; // --duration; 0: the whole presentation
};

enum class ParseResult { Run, ExitSuccess, ExitFailure };

// Parses the command line. Help and version go to standard output, errors to
// standard error with a hint; neither runs the presentation.
ParseResult ParseOptions(int argc, const char *const *argv, Options &options);

// "1280x960": a picture size within 16..8192 on each side. False when it is not one.
bool ParseSize(const std::string &text, int &width, int &height);

// "60", "30", "60000/1001": a positive frame rate. False when it is not one.
bool ParseFrameRate(const std::string &text, int64_t &numerator, int64_t &denominator);
