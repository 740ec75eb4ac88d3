#include "platform/picture.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdint>

namespace {
// Like the GL state it feeds, the picture area belongs to the one window.
PictureArea &Area()
{
    static PictureArea area;
    return area;
}
} // namespace

PictureArea FitPicture(int drawableWidth, int drawableHeight)
{
    PictureArea area;
    area.drawableWidth = drawableWidth;
    area.drawableHeight = drawableHeight;
    // Compare in integers: 4:3 fits the width when 3 * width <= 4 * height.
    if (int64_t{3} * drawableWidth <= int64_t{4} * drawableHeight) {
        area.width = drawableWidth;
        area.height = static_cast<int>(int64_t{drawableWidth} * 3 / 4);
    } else {
        area.height = drawableHeight;
        area.width = static_cast<int>(int64_t{drawableHeight} * 4 / 3);
    }
    area.x = (drawableWidth - area.width) / 2;
    area.y = (drawableHeight - area.height) / 2;
    return area;
}

void SetPictureArea(const PictureArea &area)
{
    Area() = area;
}

const PictureArea &CurrentPictureArea()
{
    return Area();
}

void PictureViewport(int x, int y, int width, int height)
{
    const PictureArea &area = Area();
    // Scale the edges, not the sizes, so neighbouring quadrants share a pixel edge.
    const auto mapX = [&](int v) {
        return area.x + static_cast<int>(std::lround(double(v) * area.width / kDesignWidth));
    };
    const auto mapY = [&](int v) {
        return area.y + static_cast<int>(std::lround(double(v) * area.height / kDesignHeight));
    };
    const int left = mapX(x);
    const int bottom = mapY(y);
    glViewport(left, bottom, mapX(x + width) - left, mapY(y + height) - bottom);
}

void PictureLineWidth(float width)
{
    const PictureArea &area = Area();
    glLineWidth(width * static_cast<float>(area.height) / kDesignHeight);
}

void ClearPictureBars()
{
    const PictureArea &area = Area();
    const int right = area.x + area.width;
    const int top = area.y + area.height;
    if (area.x <= 0 && area.y <= 0 && right >= area.drawableWidth && top >= area.drawableHeight)
        return; // the picture covers the drawable
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const auto clear = [](int x, int y, int w, int h) {
        if (w > 0 && h > 0) {
            glScissor(x, y, w, h);
            glClear(GL_COLOR_BUFFER_BIT);
        }
    };
    clear(0, 0, area.x, area.drawableHeight);                         // left
    clear(right, 0, area.drawableWidth - right, area.drawableHeight); // right
    clear(area.x, 0, area.width, area.y);                             // bottom
    clear(area.x, top, area.width, area.drawableHeight - top);        // top
    glPopAttrib();
}
