#pragma once

#include <string>
#include <vector>

// Anti-aliased coverage of a line of text, one float per pixel.
struct TextMask {
    int width = 0;
    int height = 0;
    std::vector<float> alpha;

    float At(int x, int y) const
    {
        return x < 0 || y < 0 || x >= width || y >= height ? 0.0f
                                                           : alpha[static_cast<size_t>(y) * width + x];
    }
};

// Where the ink of a line of text goes: its inked box is scaled to fill
// boxW x boxH pixels at (boxX, boxY) of a canvasW x canvasH mask. Letters are
// stretched vertically at most by maxStretch to fill the height; otherwise the
// box is filled in one direction and the text centred in the other.
struct TextPlacement {
    int canvasW = 512, canvasH = 512;
    float boxX = 0, boxY = 0, boxW = 512, boxH = 512;
    float maxStretch = 1.0f;
};

// Renders text with a TrueType font through FreeType. Returns an empty mask
// (width 0) when the font cannot be loaded.
TextMask RenderText(const std::string &text, const std::string &fontPath, const TextPlacement &place);

// Grows the mask by radius pixels (a round brush), for outlines and shadows.
TextMask Dilate(const TextMask &mask, int radius);
// Box blur of the given radius, run twice for a soft edge.
TextMask Blur(const TextMask &mask, int radius);

// The fonts of the set, from the Debian package fonts-dejavu-core.
std::string FontPath(const char *file);
