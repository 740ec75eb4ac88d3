#pragma once

// Three floats, passed by value.
struct Vec3 {
    float x;
    float y;
    float z;
};

Vec3 Cross(Vec3 a, Vec3 b);

// RotateX turns counter-clockwise seen from +X (right-hand rule); RotateY and
// RotateZ turn clockwise seen from their positive axes. The slime's look
// depends on exactly these senses, so they are kept as they are.
Vec3 RotateX(Vec3 v, float angle);
Vec3 RotateY(Vec3 v, float angle);
Vec3 RotateZ(Vec3 v, float angle);

// Sphere-map generation of S and T, wrapped around one mesh draw.
void EnableSphereMap();
void DisableSphereMap();
