#include "assets/ebr_reader.h"

#include <bit>
#include <cstdio>
#include <cstring>

namespace {
constexpr int64_t kHeaderBytes = 12; // V, T, L
constexpr int64_t kVertexBytes = 20; // x, y, z, s, t
constexpr int64_t kTriangleBytes = 12;
constexpr int32_t kMaxNameBytes = 100;

// A cursor over the file's bytes; every read says whether the bytes were there.
class ByteReader {
  public:
    explicit ByteReader(std::span<const uint8_t> bytes) : data(bytes) {}

    int64_t Left() const { return static_cast<int64_t>(data.size() - offset); }

    bool U32(uint32_t &value)
    {
        if (Left() < 4)
            return false;
        value = uint32_t{data[offset]} | uint32_t{data[offset + 1]} << 8 | uint32_t{data[offset + 2]} << 16 |
                uint32_t{data[offset + 3]} << 24;
        offset += 4;
        return true;
    }

    bool I32(int32_t &value)
    {
        uint32_t raw = 0;
        if (!U32(raw))
            return false;
        value = std::bit_cast<int32_t>(raw);
        return true;
    }

    bool F32(float &value)
    {
        uint32_t raw = 0;
        if (!U32(raw))
            return false;
        value = std::bit_cast<float>(raw);
        return true;
    }

    bool Skip(int64_t count)
    {
        if (count < 0 || Left() < count)
            return false;
        offset += static_cast<size_t>(count);
        return true;
    }

  private:
    std::span<const uint8_t> data;
    size_t offset = 0;
};

std::unique_ptr<SubMesh> ParseObject(ByteReader &reader)
{
    int32_t vertexCount = 0;
    int32_t triangleCount = 0;
    int32_t nameLength = 0;
    if (!reader.I32(vertexCount) || !reader.I32(triangleCount) || !reader.I32(nameLength))
        return nullptr;
    if (vertexCount < 0 || triangleCount < 0 || nameLength < 0 || nameLength > kMaxNameBytes)
        return nullptr;
    // The records must be in the file before we allocate room for them.
    const int64_t recordBytes =
        int64_t{nameLength} + kVertexBytes * vertexCount + kTriangleBytes * int64_t{triangleCount};
    if (recordBytes > reader.Left())
        return nullptr;
    reader.Skip(nameLength); // the name is not kept

    auto object = std::make_unique<SubMesh>(vertexCount, triangleCount);
    for (int32_t k = 0; k < vertexCount; ++k) {
        float *position = object->positions + 3 * static_cast<size_t>(k);
        float *texCoord = object->texCoords + 2 * static_cast<size_t>(k);
        if (!reader.F32(position[0]) || !reader.F32(position[1]) || !reader.F32(position[2]) ||
            !reader.F32(texCoord[0]) || !reader.F32(texCoord[1]))
            return nullptr;
    }
    const size_t indexCount = 3 * static_cast<size_t>(triangleCount);
    for (size_t i = 0; i < indexCount; ++i) {
        uint32_t index = 0;
        if (!reader.U32(index) || index >= static_cast<uint32_t>(vertexCount))
            return nullptr;
        object->indices[i] = index;
    }
    object->ComputeNormals();
    return object;
}
} // namespace

bool ParseEbr(std::span<const uint8_t> bytes, std::vector<std::unique_ptr<SubMesh>> &objects)
{
    objects.clear();
    ByteReader reader(bytes);
    int32_t objectCount = 0;
    if (!reader.I32(objectCount) || objectCount < 0 || kHeaderBytes * objectCount > reader.Left())
        return false;
    objects.reserve(static_cast<size_t>(objectCount));
    for (int32_t i = 0; i < objectCount; ++i) {
        std::unique_ptr<SubMesh> object = ParseObject(reader);
        if (!object) {
            objects.clear();
            return false;
        }
        objects.push_back(std::move(object));
    }
    return true;
}

EbrReadResult ReadEbrFile(const char *path, std::vector<std::unique_ptr<SubMesh>> &objects)
{
    objects.clear();
    std::FILE *file = std::fopen(path, "rb");
    if (!file)
        return EbrReadResult::NotFound;
    std::vector<uint8_t> bytes;
    uint8_t chunk[65536];
    size_t got = 0;
    while (bytes.size() <= kEbrMaxFileBytes && (got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    const bool readAll = std::ferror(file) == 0 && bytes.size() <= kEbrMaxFileBytes;
    std::fclose(file);
    if (!readAll || !ParseEbr(bytes, objects))
        return EbrReadResult::Damaged;
    return EbrReadResult::Read;
}
