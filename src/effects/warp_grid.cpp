#include <GL/gl.h>

#include <cmath>

#include "effects/warp_image.h"

void ComputeWarpLattice(float *points, float phase)
{
    constexpr float kStep = 0.11111111f;    // 1/9
    constexpr float kWobble = 0.055555556f; // 1/18
    float rowBase = 0.0f;
    for (int i = 0; i < kWarpLatticeSide; ++i) {
        float columnBase = 0.0f;
        for (int j = 0; j < kWarpLatticeSide; ++j) {
            float *point = points + 2 * (kWarpLatticeSide * i + j);
            point[0] = static_cast<float>(columnBase + kWobble * std::sin(0.52 * j + phase + 0.423 * i));
            point[1] = static_cast<float>(rowBase + kWobble * std::cos(0.32 * j + phase + 1.323 * i));
            // Steps are accumulated, so column 9 lands slightly above 1.
            columnBase += kStep;
        }
        rowBase += kStep;
    }
}

void DrawWarpGrid(const float *points, int cols, int rows, float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    if (cols >= 2 && rows >= 2) {
        const float dx = (x1 - x0) / static_cast<float>(cols - 1);
        const float dy = (y1 - y0) / static_cast<float>(rows - 1);
        auto corner = [&](int r, int k, float x, float y) {
            const float *point = points + 2 * (r * cols + k);
            glTexCoord2f(point[0], point[1]);
            glVertex2f(x, y);
        };
        // Screen positions accumulate step by step, as floats.
        float y = y0;
        for (int r = 0; r < rows - 1; ++r) {
            const float nextY = y + dy;
            float x = x0;
            for (int k = 0; k < cols - 1; ++k) {
                const float nextX = x + dx;
                corner(r, k, x, y);
                corner(r, k + 1, nextX, y);
                corner(r + 1, k + 1, nextX, nextY);
                corner(r + 1, k, x, nextY);
                x = nextX;
            }
            y += dy;
        }
    }
    glEnd();
}
