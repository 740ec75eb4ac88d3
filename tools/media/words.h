#pragma once

#include "canvas.h"

#include <string>

// The look of a word picture: a two-colour fill from top to bottom, a dark
// outline and a soft shadow, so it reads on white and on the scenes.
struct WordStyle {
    const char *font;
    Colour top, bottom, outline;
};

// A 512x512 RGBA picture of one word whose ink fills the box (pixels),
// stretched vertically at most by maxStretch.
Canvas MakeWord(const std::string &word, const WordStyle &style, float x, float y, float w, float h,
                float maxStretch);

// The same with the word drawn mirrored left-right, over an existing picture.
void PaintMirroredWord(Canvas &canvas, const std::string &word, const WordStyle &style, float x, float y, float w,
                       float h);
