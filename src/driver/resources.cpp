#include "driver/resources.h"

#include <cmath>

std::vector<float> SlimyRadius(const Mesh &slimy)
{
    std::vector<float> radius;
    if (slimy.objectCount < 1 || !slimy.objects || !slimy.objects[0])
        return radius;
    const SubMesh &rest = *slimy.objects[0];
    radius.resize(static_cast<size_t>(rest.vertexCount));
    for (int i = 0; i < rest.vertexCount; ++i) {
        const long double x = rest.positions[3 * i];
        const long double y = rest.positions[3 * i + 1];
        const long double z = rest.positions[3 * i + 2];
        // Two square roots: the lag grows with the root of the distance.
        radius[static_cast<size_t>(i)] = static_cast<float>(std::sqrt(std::sqrt(z * z + y * y + x * x)));
    }
    return radius;
}
