#include "assets/mesh.h"

#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <vector>

#include "assets/ebr_reader.h"
#include "assets/geometry.h"
#include "platform/message.h"
#include "platform/picture.h"

SubMesh::SubMesh(int vertices, int triangles)
    : vertexCount(vertices > 0 ? vertices : 0), triangleCount(triangles > 0 ? triangles : 0)
{
    const size_t v = static_cast<size_t>(vertexCount);
    const size_t t = static_cast<size_t>(triangleCount);
    positions = new float[3 * v]();
    normals = new float[3 * v]();
    texCoords = new float[2 * v]();
    indices = new uint32_t[3 * t]();
}

SubMesh::~SubMesh()
{
    delete[] positions;
    delete[] normals;
    delete[] texCoords;
    delete[] indices;
}

void SubMesh::ComputeNormals()
{
    const size_t v = static_cast<size_t>(vertexCount);
    for (size_t i = 0; i < 3 * v; ++i)
        normals[i] = 0.0f;

    const size_t t = static_cast<size_t>(triangleCount);
    for (size_t j = 0; j < t; ++j) {
        const uint32_t a = indices[3 * j];
        const uint32_t b = indices[3 * j + 1];
        const uint32_t c = indices[3 * j + 2];
        const float *p0 = positions + 3 * size_t{a};
        const float *p1 = positions + 3 * size_t{b};
        const float *p2 = positions + 3 * size_t{c};
        const Vec3 e1{p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        const Vec3 e2{p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        // Not normalised: its length is twice the area, so larger triangles weigh more.
        const Vec3 n = Cross(e1, e2);
        for (const uint32_t corner : {a, b, c}) {
            float *sum = normals + 3 * size_t{corner};
            sum[0] += n.x;
            sum[1] += n.y;
            sum[2] += n.z;
        }
    }

    for (size_t k = 0; k < v; ++k) {
        float *n = normals + 3 * k;
        const double length = std::sqrt(double{n[0]} * n[0] + double{n[1]} * n[1] + double{n[2]} * n[2]);
        if (length > 0.0 && std::isfinite(length)) {
            n[0] = static_cast<float>(n[0] / length);
            n[1] = static_cast<float>(n[1] / length);
            n[2] = static_cast<float>(n[2] / length);
        } else {
            // A vertex of no triangle, or only of flat ones, has no direction
            // of its own; it faces +z rather than shading as NaN.
            n[0] = 0.0f;
            n[1] = 0.0f;
            n[2] = 1.0f;
        }
    }
}

Mesh::Mesh(const char *path)
{
    std::vector<std::unique_ptr<SubMesh>> read;
    switch (ReadEbrFile(path, read)) {
    case EbrReadResult::NotFound:
        ShowMessage("Error: .ebr file not found", path);
        return;
    case EbrReadResult::Damaged:
        ShowMessage("Error: .ebr file is damaged", path);
        return;
    case EbrReadResult::Read:
        break;
    }
    objectCount = static_cast<int>(read.size());
    objects = new SubMesh *[read.size()];
    for (size_t i = 0; i < read.size(); ++i)
        objects[i] = read[i].release();
}

Mesh::~Mesh()
{
    for (int i = 0; i < objectCount; ++i)
        delete objects[i];
    delete[] objects;
}

void Mesh::Draw()
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    for (int i = 0; i < objectCount; ++i) {
        const SubMesh &object = *objects[i];
        glVertexPointer(3, GL_FLOAT, 0, object.positions);
        glNormalPointer(GL_FLOAT, 0, object.normals);
        glTexCoordPointer(2, GL_FLOAT, 0, object.texCoords);
        glDrawElements(GL_TRIANGLES, 3 * object.triangleCount, GL_UNSIGNED_INT, object.indices);
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void Mesh::DrawWire()
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glLineStipple(1, 0xFFFF);
    PictureLineWidth(1.0f);
    glEnable(GL_LINE_STIPPLE);
    // The flat index list read in pairs: the demo's wire look, not triangle edges.
    for (int i = 0; i < objectCount; ++i) {
        const SubMesh &object = *objects[i];
        glVertexPointer(3, GL_FLOAT, 0, object.positions);
        glNormalPointer(GL_FLOAT, 0, object.normals);
        glDrawElements(GL_LINES, 3 * object.triangleCount, GL_UNSIGNED_INT, object.indices);
    }
    glDisable(GL_LINE_STIPPLE);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
}

void Mesh::RecomputeNormals()
{
    for (int i = 0; i < objectCount; ++i)
        objects[i]->ComputeNormals();
}
