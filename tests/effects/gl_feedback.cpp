#include "gl_feedback.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstring>

std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()> &draw)
{
    constexpr int kValuesPerVertex = 11;
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GE(used, 0) << "feedback buffer overflow";
    std::vector<FeedbackPrimitive> primitives;
    static_assert(sizeof(FeedbackVertex) == kValuesPerVertex * sizeof(GLfloat));
    auto readVertex = [&](GLint &at) {
        FeedbackVertex v;
        std::memcpy(&v, &buffer[at], sizeof v);
        at += kValuesPerVertex;
        return v;
    };
    for (GLint at = 0; at < used;) {
        FeedbackPrimitive primitive{static_cast<unsigned>(buffer[at++]), {}};
        int count = 0;
        switch (primitive.token) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            count = 1;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            count = 2;
            break;
        case GL_POLYGON_TOKEN:
            count = static_cast<int>(buffer[at++]);
            break;
        case GL_PASS_THROUGH_TOKEN:
            ++at;
            break;
        default:
            ADD_FAILURE() << "unknown feedback token " << primitive.token;
            return {};
        }
        for (int i = 0; i < count; ++i)
            primitive.vertices.push_back(readVertex(at));
        primitives.push_back(std::move(primitive));
    }
    return primitives;
}

namespace {

bool SameVertex(const FeedbackVertex &a, const FeedbackVertex &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

std::vector<std::vector<FeedbackVertex>> CaptureQuads(const std::function<void()> &draw)
{
    const std::vector<FeedbackPrimitive> primitives = CaptureFeedback(draw);
    std::vector<std::vector<FeedbackVertex>> quads;
    for (size_t i = 0; i < primitives.size(); ++i) {
        const auto &first = primitives[i].vertices;
        if (first.size() == 4) {
            quads.push_back(first);
            continue;
        }
        if (first.size() != 3 || i + 1 >= primitives.size() || primitives[i + 1].vertices.size() != 3) {
            ADD_FAILURE() << "feedback primitive " << i << " is not part of a whole quad";
            return {};
        }
        const auto &second = primitives[++i].vertices;
        if (!SameVertex(first[1], second[0]) || !SameVertex(first[2], second[2])) {
            ADD_FAILURE() << "feedback triangles " << i - 1 << " and " << i << " do not form a quad";
            return {};
        }
        quads.push_back({first[0], first[1], second[1], first[2]});
    }
    return quads;
}
