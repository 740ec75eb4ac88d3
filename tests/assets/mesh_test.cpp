#include <gtest/gtest.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "assets/asset_files.h"
#include "assets/ebr_writer.h"
#include "assets/mesh.h"
#include "support/offscreen_gl.h"

namespace {
void SetPositions(SubMesh &object, const std::vector<float> &positions, const std::vector<uint32_t> &indices)
{
    ASSERT_EQ(positions.size(), 3u * object.vertexCount);
    ASSERT_EQ(indices.size(), 3u * object.triangleCount);
    std::copy(positions.begin(), positions.end(), object.positions);
    std::copy(indices.begin(), indices.end(), object.indices);
}

void ExpectNormal(const SubMesh &object, int k, float x, float y, float z)
{
    SCOPED_TRACE("vertex " + std::to_string(k));
    EXPECT_NEAR(object.normals[3 * k], x, 1e-6);
    EXPECT_NEAR(object.normals[3 * k + 1], y, 1e-6);
    EXPECT_NEAR(object.normals[3 * k + 2], z, 1e-6);
}
} // namespace

TEST(SubMeshNormals, SingleTriangleFacesPlusZ)
{
    SubMesh object(3, 1);
    SetPositions(object, {0, 0, 0, 1, 0, 0, 0, 1, 0}, {0, 1, 2});
    object.ComputeNormals();
    for (int k = 0; k < 3; ++k)
        ExpectNormal(object, k, 0, 0, 1);
}

TEST(SubMeshNormals, LargerTrianglesWeighMore)
{
    // Vertex 0 is shared by a triangle of area 2 facing +z (N) and one of
    // area 1 facing +x (M): its normal is (2N + M) / sqrt(5).
    SubMesh object(5, 2);
    SetPositions(object, {0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 1, 0, 0, 0, 2}, {0, 1, 2, 0, 3, 4});
    object.ComputeNormals();
    const float root5 = std::sqrt(5.0f);
    ExpectNormal(object, 0, 1 / root5, 0, 2 / root5);
    ExpectNormal(object, 1, 0, 0, 1);
    ExpectNormal(object, 3, 1, 0, 0);
}

TEST(SubMeshNormals, DegenerateTriangleChangesNothing)
{
    SubMesh plain(3, 1);
    SetPositions(plain, {0, 0, 0, 3, 0, 1, 0, 2, 1}, {0, 1, 2});
    plain.ComputeNormals();
    SubMesh withDegenerate(3, 2);
    SetPositions(withDegenerate, {0, 0, 0, 3, 0, 1, 0, 2, 1}, {0, 1, 2, 1, 1, 2});
    withDegenerate.ComputeNormals();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(withDegenerate.normals[i], plain.normals[i]) << "component " << i;
}

TEST(SubMeshNormals, VertexWithoutDirectionGetsUnitNormal)
{
    // Vertex 3 belongs to no triangle; vertices 4-6 only to a flat one.
    SubMesh object(7, 2);
    SetPositions(object, {0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5, 1, 1, 1, 2, 2, 2, 3, 3, 3}, {0, 1, 2, 4, 5, 6});
    object.ComputeNormals();
    for (int k = 3; k < 7; ++k) {
        const float *n = object.normals + 3 * k;
        ASSERT_TRUE(std::isfinite(n[0]) && std::isfinite(n[1]) && std::isfinite(n[2])) << "vertex " << k;
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-6) << "vertex " << k;
    }
}

TEST(SubMeshNormals, RecomputeFollowsMovedVertices)
{
    TempDir dir;
    const std::string path = dir.Path("tri.ebr");
    ASSERT_TRUE(WriteEbr(path, {{"t", {0, 0, 0, 1, 0, 0, 0, 1, 0}, {}, {0, 1, 2}}}));
    Mesh mesh(path.c_str());
    ASSERT_EQ(mesh.objectCount, 1);
    mesh.objects[0]->positions[7] = -1.0f; // c goes below the x axis: the triangle turns over
    mesh.RecomputeNormals();
    ExpectNormal(*mesh.objects[0], 0, 0, 0, -1);
}

// What a draw sends down the pipeline, counted in GL feedback mode.
class MeshDrawTest : public OffscreenGLTest {
  protected:
    struct Primitives {
        int lines = 0;
        int polygons = 0;
        std::vector<float> lineEnds; // window x, y of both ends, per line
    };

    template <typename Draw> Primitives Capture(Draw draw)
    {
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        std::vector<GLfloat> buffer(4096);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        const GLint used = glRenderMode(GL_RENDER);
        EXPECT_GE(used, 0) << "feedback buffer overflow";

        Primitives seen;
        for (GLint i = 0; i < used;) {
            const auto token = static_cast<GLint>(buffer[static_cast<size_t>(i++)]);
            if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
                ++seen.lines;
                for (int end = 0; end < 2; ++end, i += 3)
                    seen.lineEnds.insert(seen.lineEnds.end(), {buffer[static_cast<size_t>(i)],
                                                               buffer[static_cast<size_t>(i) + 1]});
            } else if (token == GL_POLYGON_TOKEN) {
                ++seen.polygons;
                i += 1 + 3 * static_cast<GLint>(buffer[static_cast<size_t>(i)]);
            } else {
                i += 3; // points, bitmaps and pixels carry one vertex
                ADD_FAILURE() << "unexpected feedback token " << token;
            }
        }
        return seen;
    }

    std::string WriteMesh(const std::vector<EbrObject> &objects)
    {
        const std::string path = dir.Path("m.ebr");
        EXPECT_TRUE(WriteEbr(path, objects));
        return path;
    }

    static void ExpectClientArraysOff()
    {
        EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
        EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    }

    TempDir dir;
};

namespace {
// Counter-clockwise seen from the viewer; window corners (200,150), (600,150), (400,450).
const EbrObject kFacingTriangle{
    "t", {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0, 0.5f, 0}, {0, 0, 1, 0, 0.5f, 1}, {0, 1, 2}};
const EbrObject kTwoTriangles{
    "q", {-0.5f, -0.5f, 0, 0.5f, -0.5f, 0, 0.5f, 0.5f, 0, -0.5f, 0.5f, 0}, {}, {0, 1, 2, 0, 2, 3}};
} // namespace

TEST_F(MeshDrawTest, DrawSendsEachTriangle)
{
    Mesh mesh(WriteMesh({kFacingTriangle, kTwoTriangles, {"empty", {1, 1, 1}, {}, {}}}).c_str());
    ASSERT_EQ(mesh.objectCount, 3);
    const Primitives seen = Capture([&] { mesh.Draw(); });
    EXPECT_EQ(seen.polygons, 3);
    EXPECT_EQ(seen.lines, 0);
    ExpectClientArraysOff();
}

TEST_F(MeshDrawTest, WireReadsTheIndexListInPairs)
{
    Mesh one(WriteMesh({kFacingTriangle}).c_str());
    const Primitives single = Capture([&] { one.DrawWire(); });
    ASSERT_EQ(single.lines, 1); // corners a and b; c draws nothing
    EXPECT_NEAR(single.lineEnds[0], 200, 0.5);
    EXPECT_NEAR(single.lineEnds[1], 150, 0.5);
    EXPECT_NEAR(single.lineEnds[2], 600, 0.5);
    EXPECT_NEAR(single.lineEnds[3], 150, 0.5);

    // Six indices make three segments, the middle one joining the triangles.
    Mesh two(WriteMesh({kTwoTriangles}).c_str());
    const Primitives pairs = Capture([&] { two.DrawWire(); });
    ASSERT_EQ(pairs.lines, 3);
    EXPECT_NEAR(pairs.lineEnds[4], 600, 0.5); // index 2: (0.5, 0.5)
    EXPECT_NEAR(pairs.lineEnds[5], 450, 0.5);
    EXPECT_NEAR(pairs.lineEnds[6], 200, 0.5); // index 0 of the second triangle
    EXPECT_NEAR(pairs.lineEnds[7], 150, 0.5);

    GLint pattern = 0;
    glGetIntegerv(GL_LINE_STIPPLE_PATTERN, &pattern);
    EXPECT_EQ(pattern, 0xFFFF);
    EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    ExpectClientArraysOff();
}

TEST_F(MeshDrawTest, MeshWithNoObjectsDrawsNothing)
{
    MessageRecorder quiet;
    Mesh missing(dir.Path("absent.ebr").c_str());
    Mesh empty(WriteMesh({}).c_str());
    for (Mesh *mesh : {&missing, &empty}) {
        const Primitives seen = Capture([&] {
            mesh->Draw();
            mesh->DrawWire();
        });
        EXPECT_EQ(seen.polygons + seen.lines, 0);
        ExpectClientArraysOff();
        EXPECT_FALSE(glIsEnabled(GL_LINE_STIPPLE));
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
