#include "words.h"

#include "text.h"

#include <algorithm>
#include <cmath>

namespace {
void PaintWord(Canvas &canvas, const TextMask &fill, const WordStyle &style, bool mirrored)
{
    const int outlineRadius = std::max(2, fill.height / 150);
    const TextMask outline = Dilate(fill, outlineRadius);
    const TextMask shadow = Blur(Dilate(fill, outlineRadius + 1), 4);
    // Ink rows, for the fill gradient.
    int top = fill.height, bottom = 0;
    for (int y = 0; y < fill.height; ++y)
        for (int x = 0; x < fill.width; ++x)
            if (fill.At(x, y) > 0) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const float span = static_cast<float>(std::max(1, bottom - top));
    const int shadowDx = outlineRadius + 3, shadowDy = outlineRadius + 4;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const int sx = mirrored ? canvas.width - 1 - x : x;
            const int shx = mirrored ? sx + shadowDx : sx - shadowDx;
            Colour c = canvas.At(x, y);
            c = Over(c, {0, 0, 0, 0.45f}, shadow.At(shx, y - shadowDy));
            c = Over(c, style.outline, outline.At(sx, y));
            const float t = Clamp01((static_cast<float>(y) - top) / span);
            Colour body = Mix(style.top, style.bottom, t);
            // A light band across the upper third, like a printed highlight.
            body = Mix(body, Rgb(1, 1, 1), 0.35f * std::exp(-std::pow((t - 0.3f) / 0.08f, 2.0f)));
            c = Over(c, body, fill.At(sx, y));
            canvas.At(x, y) = c;
        }
}
} // namespace

Canvas MakeWord(const std::string &word, const WordStyle &style, float x, float y, float w, float h,
                float maxStretch)
{
    Canvas canvas(512, 512);
    TextPlacement place{512, 512, x, y, w, h, maxStretch};
    const TextMask mask = RenderText(word, FontPath(style.font), place);
    if (mask.width > 0)
        PaintWord(canvas, mask, style, false);
    return canvas;
}

void PaintMirroredWord(Canvas &canvas, const std::string &word, const WordStyle &style, float x, float y, float w,
                       float h)
{
    TextPlacement place{canvas.width, canvas.height, x, y, w, h, 1.3f};
    const TextMask mask = RenderText(word, FontPath(style.font), place);
    if (mask.width > 0)
        PaintWord(canvas, mask, style, true);
}
