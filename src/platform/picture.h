#pragma once

#include <cstdint>

// The scenes are written for an 800x600 window. The picture area maps that
// design space onto the real drawable: scaled, and centred with black bars
// when the drawable has another aspect. Every viewport a scene sets and every
// line width goes through here, so the picture is the same at any size.
struct PictureArea {
    int x = 0;       // drawable pixels left of the picture
    int y = 0;       // drawable pixels below the picture
    int width = 800; // picture size in drawable pixels
    int height = 600;
    int drawableWidth = 800;
    int drawableHeight = 600;
};

constexpr int kDesignWidth = 800;
constexpr int kDesignHeight = 600;

// The largest 4:3 picture that fits the drawable, centred.
PictureArea FitPicture(int drawableWidth, int drawableHeight);

void SetPictureArea(const PictureArea &area);
const PictureArea &CurrentPictureArea();

// glViewport of a rectangle given in the 800x600 design space.
void PictureViewport(int x, int y, int width, int height);

// glLineWidth of a width given for the 800x600 design space.
void PictureLineWidth(float width);

// Paints the drawable outside the picture black, and nothing else: the GL
// state the scenes see is left as it was. Called before a frame is shown.
void ClearPictureBars();
