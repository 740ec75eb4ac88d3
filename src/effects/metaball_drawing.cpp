#include <GL/gl.h>

#include <cmath>

#include "effects/metaballs.h"

namespace {

// Angular factors of the ball motions, near 1/140 ... 1/50.
constexpr float k1 = 0.007142857f;
constexpr float k2 = 0.008333334f;
constexpr float k3 = 0.01f;
constexpr float k4 = 0.025f;
constexpr float k5 = 0.0125f;
constexpr float k6 = 0.016666668f;
constexpr float k7 = 0.033333335f;
constexpr float k8 = 0.02f;

// amplitude * sin(factor * t): the angle as a float product, the rest in double.
float Wave(float amplitude, float factor, float t)
{
    const float angle = factor * t;
    return static_cast<float>(static_cast<double>(amplitude) * std::sin(static_cast<double>(angle)));
}

float CosineWave(float amplitude, float factor, float t)
{
    const float angle = factor * t;
    return static_cast<float>(static_cast<double>(amplitude) * std::cos(static_cast<double>(angle)));
}

void Place(Metaball &ball, float x, float y, float z)
{
    ball.x = x;
    ball.y = y;
    ball.z = z;
}

} // namespace

void AnimateBalls(float t)
{
    // The surface is built before the balls move, so each frame shows the
    // positions of the frame before.
    metaballs.Sample();
    metaballs.Polygonize();

    Place(balls[0], Wave(0.2f, k1, t), Wave(0.4f, k2, t), Wave(0.3f, k3, t));
    Place(balls[1], Wave(0.4f, k4, t), Wave(0.5f, k5, t), Wave(0.3f, k2, t));
    Place(balls[2], Wave(0.6f, k5, t), Wave(0.1f, k6, t), Wave(0.5f, k7, t));
    Place(balls[3], Wave(0.4f, k6, t), Wave(0.2f, k8, t), Wave(0.5f, k4, t));
    Place(balls[4], Wave(0.4f, k4, t), Wave(0.3f, k6, t), Wave(0.4f, k8, t));
    Place(balls[5], CosineWave(0.2f, k1, t), CosineWave(0.4f, k2, t), CosineWave(0.3f, k3, t));
    Place(balls[6], CosineWave(0.4f, k4, t), CosineWave(0.5f, k5, t), CosineWave(0.3f, k2, t));
    Place(balls[7], CosineWave(0.6f, k5, t), CosineWave(0.1f, k6, t), CosineWave(0.5f, k7, t));
    Place(balls[8], CosineWave(0.4f, k6, t), CosineWave(0.2f, k8, t), CosineWave(0.5f, k4, t));
    Place(balls[9], CosineWave(0.4f, k4, t), CosineWave(0.3f, k6, t), CosineWave(0.4f, k8, t));
}

void Metaballs::Draw()
{
    // One stream of lines: the GL pairs the vertices across triangle bounds,
    // and an odd count leaves the last vertex unpaired. The colour is not
    // clamped here; it reaches 3 at the corners of the cube.
    glBegin(GL_LINES);
    for (const IsoTriangle &triangle : triangles) {
        glNormal3f(triangle.normal.x, triangle.normal.y, triangle.normal.z);
        for (const Vec3 &v : triangle.vertices) {
            const float r2 = v.x * v.x + v.y * v.y + v.z * v.z;
            glColor3f(r2 + 0.3f, r2 + 0.3f, r2 + 0.1f);
            glVertex3f(v.x, v.y, v.z);
        }
    }
    glEnd();
}

void DrawMetaballs()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    // The vertex colours become the lit material, front and back.
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    metaballs.Draw();
    glFlush();
}
