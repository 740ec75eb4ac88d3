#include "assets/geometry.h"

#include <GL/gl.h>

#include <cmath>

Vec3 Cross(Vec3 a, Vec3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec3 RotateX(Vec3 v, float angle)
{
    const double c = std::cos(double{angle});
    const double s = std::sin(double{angle});
    return {v.x, static_cast<float>(c * v.y - s * v.z), static_cast<float>(s * v.y + c * v.z)};
}

Vec3 RotateY(Vec3 v, float angle)
{
    const double c = std::cos(double{angle});
    const double s = std::sin(double{angle});
    return {static_cast<float>(c * v.x - s * v.z), v.y, static_cast<float>(s * v.x + c * v.z)};
}

Vec3 RotateZ(Vec3 v, float angle)
{
    const double c = std::cos(double{angle});
    const double s = std::sin(double{angle});
    return {static_cast<float>(c * v.x + s * v.y), static_cast<float>(c * v.y - s * v.x), v.z};
}

void EnableSphereMap()
{
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

void DisableSphereMap()
{
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}
