#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "driver/capture_progress.h"

TEST(CaptureProgressTest, FiguresShowFramesPercentRateAndTimeLeft)
{
    struct Case {
        int64_t frames, total;
        double seconds;
        const char *bar;
        const char *line;
    };
    const Case cases[] = {
        {1350, 13500, 23.2, "[###---------------------------]   1350/13500 frames  10%   58.2 fps  3:29 left",
         "quillane: capture 10% (1350/13500 frames, 58.2 fps, 3:29 left)"},
        {0, 13500, 0.0, "[------------------------------]      0/13500 frames   0%    0.0 fps  --:-- left",
         "quillane: capture 0% (0/13500 frames, 0.0 fps, --:-- left)"},
        {100, 13500, 100.0,
         "[------------------------------]    100/13500 frames   0%    1.0 fps  3:43:20 left",
         "quillane: capture 0% (100/13500 frames, 1.0 fps, 3:43:20 left)"},
        {13500, 13500, 200.0,
         "[##############################]  13500/13500 frames 100%   67.5 fps  0:00 left",
         "quillane: capture 100% (13500/13500 frames, 67.5 fps, 0:00 left)"},
        // A run that goes a frame past its estimate stays at 100%.
        {13501, 13500, 200.0,
         "[##############################]  13501/13500 frames 100%   67.5 fps  0:00 left",
         "quillane: capture 100% (13501/13500 frames, 67.5 fps, 0:00 left)"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FormatProgressBar(c.frames, c.total, c.seconds), c.bar);
        EXPECT_EQ(FormatProgressLine(c.frames, c.total, c.seconds), c.line);
    }
}

TEST(CaptureProgressTest, WithoutATerminalOneLinePerTenth)
{
    std::FILE *log = std::tmpfile();
    ASSERT_NE(log, nullptr);
    {
        CaptureProgress progress(250, log, false);
        for (int frame = 1; frame <= 250; ++frame)
            progress.Update(frame);
        progress.Done(250);
    }
    std::rewind(log);
    std::vector<std::string> lines;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, log))
        lines.emplace_back(buffer);
    std::fclose(log);
    ASSERT_EQ(lines.size(), 10u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string expected = "quillane: capture " + std::to_string((i + 1) * 10) + "% (" +
                                     std::to_string((i + 1) * 25) + "/250 frames";
        EXPECT_EQ(lines[i].rfind(expected, 0), 0u) << lines[i];
        EXPECT_EQ(lines[i].find('\r'), std::string::npos);
    }
}
