#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/ebr_reader.h"
#include "assets/ebr_writer.h"
#include "assets/mesh.h"
#include "support/offscreen_gl.h"

namespace {
uint32_t U32At(const std::vector<uint8_t> &bytes, size_t offset)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | bytes.at(offset + static_cast<size_t>(i));
    return v;
}

float F32At(const std::vector<uint8_t> &bytes, size_t offset)
{
    return std::bit_cast<float>(U32At(bytes, offset));
}

void PutU32At(std::vector<uint8_t> &bytes, size_t offset, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        bytes.at(offset + static_cast<size_t>(i)) = static_cast<uint8_t>(v >> (8 * i));
}

// The worked file: one object "abc", three vertices, one triangle.
EbrObject Triangle(const std::string &name = "abc")
{
    return {name, {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}, {0, 1, 2}};
}

// A quad as two triangles whose indices count from 0 in their own object.
EbrObject Quad()
{
    return {"quad", {0, 0, 5, 2, 0, 5, 2, 2, 5, 0, 2, 5}, {0, 0, 1, 0, 1, 1, 0, 1}, {0, 1, 2, 0, 2, 3}};
}

void ExpectObject(const SubMesh &object, const EbrObject &expected)
{
    ASSERT_EQ(object.vertexCount, static_cast<int>(expected.positions.size() / 3));
    ASSERT_EQ(object.triangleCount, static_cast<int>(expected.indices.size() / 3));
    for (size_t i = 0; i < expected.positions.size(); ++i)
        EXPECT_EQ(object.positions[i], expected.positions[i]) << "position component " << i;
    for (size_t i = 0; i < expected.texCoords.size(); ++i)
        EXPECT_EQ(object.texCoords[i], expected.texCoords[i]) << "texture coordinate " << i;
    for (size_t i = 0; i < expected.indices.size(); ++i)
        EXPECT_EQ(object.indices[i], expected.indices[i]) << "index " << i;
}

struct LoadedMesh {
    std::unique_ptr<Mesh> mesh;
    std::vector<MessageRecorder::Message> messages;
};

LoadedMesh LoadFromBytes(const TempDir &dir, const std::vector<uint8_t> &bytes)
{
    const std::string path = dir.Path("mesh.ebr");
    EXPECT_TRUE(WriteBytes(path, bytes));
    MessageRecorder recorder;
    LoadedMesh loaded;
    loaded.mesh = std::make_unique<Mesh>(path.c_str());
    loaded.messages = recorder.messages;
    return loaded;
}
} // namespace

TEST(EbrFormat, WorkedLayoutOfNinetyOneBytes)
{
    const std::vector<uint8_t> bytes = EncodeEbr({Triangle()});
    ASSERT_EQ(bytes.size(), 91u);
    EXPECT_EQ(U32At(bytes, 0), 1u);
    EXPECT_EQ(U32At(bytes, 4), 3u);
    EXPECT_EQ(U32At(bytes, 8), 1u);
    EXPECT_EQ(U32At(bytes, 12), 3u);
    EXPECT_EQ(std::string(bytes.begin() + 16, bytes.begin() + 19), "abc");
    EXPECT_EQ(F32At(bytes, 39), 1.0f); // x of vertex 1
    EXPECT_EQ(F32At(bytes, 67), 0.0f); // z of vertex 2
    EXPECT_EQ(F32At(bytes, 71), 0.5f); // s of vertex 2
    EXPECT_EQ(F32At(bytes, 75), 0.6f); // t of vertex 2
    EXPECT_EQ(U32At(bytes, 79), 0u);
    EXPECT_EQ(U32At(bytes, 83), 1u);
    EXPECT_EQ(U32At(bytes, 87), 2u);

    TempDir dir;
    LoadedMesh loaded = LoadFromBytes(dir, bytes);
    EXPECT_TRUE(loaded.messages.empty());
    ASSERT_EQ(loaded.mesh->objectCount, 1);
    ExpectObject(*loaded.mesh->objects[0], Triangle());
    for (int k = 0; k < 3; ++k) // normals are computed as the object is read
        EXPECT_EQ(loaded.mesh->objects[0]->normals[3 * k + 2], 1.0f);
}

TEST(EbrFormat, ObjectsBackToBackWithEmptyNamesAndTrailingBytes)
{
    const std::vector<EbrObject> objects{Triangle(""), Quad()};
    std::vector<uint8_t> bytes = EncodeEbr(objects);
    // The second object's V follows the first object's last triangle at once.
    ASSERT_EQ(U32At(bytes, 4 + 12 + 3 * 20 + 12), 4u);
    bytes.insert(bytes.end(), {0xde, 0xad, 0xbe, 0xef, 0x01});

    std::vector<std::unique_ptr<SubMesh>> parsed;
    ASSERT_TRUE(ParseEbr(bytes, parsed));
    ASSERT_EQ(parsed.size(), 2u);
    ExpectObject(*parsed[0], objects[0]);
    ExpectObject(*parsed[1], objects[1]);
}

TEST(EbrFormat, EmptyObjectsAndEmptyFiles)
{
    std::vector<std::unique_ptr<SubMesh>> parsed;
    ASSERT_TRUE(ParseEbr(EncodeEbr({}), parsed));
    EXPECT_TRUE(parsed.empty());

    const EbrObject noTriangles{"points", {1, 2, 3}, {0, 0}, {}};
    const EbrObject nothing{"", {}, {}, {}};
    ASSERT_TRUE(ParseEbr(EncodeEbr({noTriangles, nothing}), parsed));
    ASSERT_EQ(parsed.size(), 2u);
    ExpectObject(*parsed[0], noTriangles);
    EXPECT_EQ(parsed[1]->vertexCount, 0);
    EXPECT_EQ(parsed[1]->triangleCount, 0);
}

TEST(EbrFormat, LongestNameIsAccepted)
{
    std::vector<std::unique_ptr<SubMesh>> parsed;
    ASSERT_TRUE(ParseEbr(EncodeEbr({Triangle(std::string(100, 'n'))}), parsed));
    ASSERT_EQ(parsed.size(), 1u);
    ExpectObject(*parsed[0], Triangle());
}

TEST(EbrFormat, MissingFileIsReportedAndLeavesNoObjects)
{
    TempDir dir;
    const std::string path = dir.Path("absent.ebr");
    MessageRecorder recorder;
    Mesh mesh(path.c_str());
    EXPECT_EQ(mesh.objectCount, 0);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Error: .ebr file not found");
    EXPECT_EQ(recorder.messages[0].caption, path);
}

TEST(EbrFormat, EveryTruncationIsReportedAsDamaged)
{
    const std::vector<uint8_t> whole = EncodeEbr({Triangle(), Quad()});
    TempDir dir;
    for (size_t length = 0; length < whole.size(); ++length) {
        SCOPED_TRACE("file cut to " + std::to_string(length) + " bytes");
        LoadedMesh loaded = LoadFromBytes(dir, std::vector<uint8_t>(whole.begin(), whole.begin() + length));
        EXPECT_EQ(loaded.mesh->objectCount, 0);
        ASSERT_EQ(loaded.messages.size(), 1u);
        EXPECT_EQ(loaded.messages[0].text, "Error: .ebr file is damaged");
        EXPECT_EQ(loaded.messages[0].caption, dir.Path("mesh.ebr"));
    }
}

TEST(EbrFormat, HostileFieldsAreReportedAsDamaged)
{
    const std::vector<uint8_t> good = EncodeEbr({Quad(), Triangle()});
    const size_t second = 4 + 12 + 4 + 4 * 20 + 2 * 12; // offset of the second object
    struct Case {
        const char *what;
        size_t offset;
        uint32_t value;
    };
    const Case cases[] = {
        {"negative object count", 0, 0xFFFFFFFFu},
        {"huge object count", 0, 0x7FFFFFFFu},
        {"one object more than the file holds", 0, 3},
        {"negative vertex count", 4, 0xFFFFFFFFu},
        {"huge vertex count", 4, 0x7FFFFFFFu},
        {"vertex count past the end", 4, 100},
        {"negative triangle count", 8, 0x80000000u},
        {"huge triangle count", 8, 0x7FFFFFFFu},
        {"negative name length", 12, 0xFFFFFFFFu},
        {"name length 101", 12, 101},
        {"index equal to V", 4 + 12 + 4 + 4 * 20 + 5 * 4, 4},
        {"index far out", 4 + 12 + 4 + 4 * 20, 0xFFFFFFFFu},
        {"index equal to V in the second object", second + 12 + 3 + 3 * 20 + 8, 3},
        {"second object with no vertices but a triangle", second, 0},
        {"second object's name length past the end", second + 8, 100},
    };
    TempDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = good;
        PutU32At(bytes, c.offset, c.value);
        std::vector<std::unique_ptr<SubMesh>> parsed;
        EXPECT_FALSE(ParseEbr(bytes, parsed));
        EXPECT_TRUE(parsed.empty());

        LoadedMesh loaded = LoadFromBytes(dir, bytes);
        EXPECT_EQ(loaded.mesh->objectCount, 0);
        ASSERT_EQ(loaded.messages.size(), 1u);
        EXPECT_EQ(loaded.messages[0].text, "Error: .ebr file is damaged");
    }
}
