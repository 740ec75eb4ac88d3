// Feeds arbitrary bytes to the .ebr parser. Besides the sanitizers' checks,
// a file it accepts must keep the invariant drawing relies on.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "assets/ebr_reader.h"
#include "assets/mesh.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<std::unique_ptr<SubMesh>> objects;
    if (!ParseEbr({data, size}, objects)) {
        if (!objects.empty())
            __builtin_trap();
        return 0;
    }
    for (const std::unique_ptr<SubMesh> &object : objects) {
        if (object->vertexCount < 0 || object->triangleCount < 0)
            __builtin_trap();
        for (size_t i = 0; i < 3 * static_cast<size_t>(object->triangleCount); ++i)
            if (object->indices[i] >= static_cast<uint32_t>(object->vertexCount))
                __builtin_trap();
        object->ComputeNormals();
    }
    return 0;
}
