#pragma once

#include <functional>
#include <vector>

// What the GL would rasterise, captured in feedback mode (GL_3D_COLOR_TEXTURE):
// window coordinates, the colour after lighting and the texture coordinates.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t, p, q;
};

struct FeedbackPrimitive {
    unsigned token; // GL_LINE_TOKEN, GL_LINE_RESET_TOKEN, GL_POLYGON_TOKEN, ...
    std::vector<FeedbackVertex> vertices;
};

// Runs `draw` in feedback mode and returns the primitives it produced; an
// overflowing buffer yields no primitives and a failed expectation.
std::vector<FeedbackPrimitive> CaptureFeedback(const std::function<void()> &draw);

// The quads of a GL_QUADS draw, each as its four vertices in emitted order.
// Mesa hands a quad (v0, v1, v2, v3) to feedback as the triangles
// (v0, v1, v3) and (v1, v2, v3); both that and a single four-vertex polygon
// are put back together. Anything else (a clipped quad) is a failed expectation.
std::vector<std::vector<FeedbackVertex>> CaptureQuads(const std::function<void()> &draw);
