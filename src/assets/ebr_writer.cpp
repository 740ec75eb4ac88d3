#include "assets/ebr_writer.h"

#include <bit>
#include <cstdio>
#include <cstring>

namespace {
void PutU32(std::vector<uint8_t> &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void PutF32(std::vector<uint8_t> &out, float v)
{
    PutU32(out, std::bit_cast<uint32_t>(v));
}
} // namespace

std::vector<uint8_t> EncodeEbr(const std::vector<EbrObject> &objects)
{
    std::vector<uint8_t> out;
    PutU32(out, static_cast<uint32_t>(objects.size()));
    for (const EbrObject &object : objects) {
        const size_t vertexCount = object.positions.size() / 3;
        PutU32(out, static_cast<uint32_t>(vertexCount));
        PutU32(out, static_cast<uint32_t>(object.indices.size() / 3));
        PutU32(out, static_cast<uint32_t>(object.name.size()));
        out.insert(out.end(), object.name.begin(), object.name.end());
        for (size_t k = 0; k < vertexCount; ++k) {
            for (int c = 0; c < 3; ++c)
                PutF32(out, object.positions[3 * k + c]);
            for (int c = 0; c < 2; ++c)
                PutF32(out, 2 * k + c < object.texCoords.size() ? object.texCoords[2 * k + c] : 0.0f);
        }
        for (size_t j = 0; j + 2 < object.indices.size(); j += 3)
            for (int c = 0; c < 3; ++c)
                PutU32(out, object.indices[j + c]);
    }
    return out;
}

bool WriteEbr(const std::string &path, const std::vector<EbrObject> &objects)
{
    const std::vector<uint8_t> bytes = EncodeEbr(objects);
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
