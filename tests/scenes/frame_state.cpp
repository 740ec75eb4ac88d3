#include "frame_state.h"

#include <GL/gl.h>

#include <cmath>
#include <sstream>

#include "platform/picture.h"

GLSnapshot TakeGLSnapshot()
{
    GLSnapshot s;
    const std::pair<const char *, GLenum> enables[] = {
        {"GL_LIGHTING", GL_LIGHTING},
        {"GL_LIGHT0", GL_LIGHT0},
        {"GL_DEPTH_TEST", GL_DEPTH_TEST},
        {"GL_CULL_FACE", GL_CULL_FACE},
        {"GL_NORMALIZE", GL_NORMALIZE},
        {"GL_BLEND", GL_BLEND},
        {"GL_FOG", GL_FOG},
        {"GL_TEXTURE_2D", GL_TEXTURE_2D},
        {"GL_TEXTURE_GEN_S", GL_TEXTURE_GEN_S},
        {"GL_TEXTURE_GEN_T", GL_TEXTURE_GEN_T},
        {"GL_COLOR_MATERIAL", GL_COLOR_MATERIAL},
    };
    for (const auto &[name, cap] : enables)
        s[name] = {glIsEnabled(cap) ? 1.0 : 0.0};

    GLint i[4] = {};
    glGetIntegerv(GL_LIGHT_MODEL_TWO_SIDE, i);
    s["two-sided lighting"] = {i[0] ? 1.0 : 0.0};
    glGetIntegerv(GL_DEPTH_FUNC, i);
    s["depth function"] = {double(i[0])};
    GLint src = 0, dst = 0;
    glGetIntegerv(GL_BLEND_SRC, &src);
    glGetIntegerv(GL_BLEND_DST, &dst);
    s["blend function"] = {double(src), double(dst)};
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, i);
    s["modelview depth"] = {double(i[0])};

    // Back into the design space, so the rules hold at any drawable size.
    glGetIntegerv(GL_VIEWPORT, i);
    const PictureArea &area = CurrentPictureArea();
    const double sx = double(kDesignWidth) / area.width, sy = double(kDesignHeight) / area.height;
    s["viewport"] = {std::round((i[0] - area.x) * sx), std::round((i[1] - area.y) * sy),
                     std::round(i[2] * sx), std::round(i[3] * sy)};

    GLfloat f[16] = {};
    glGetFloatv(GL_CURRENT_COLOR, f);
    s["current colour"] = {f[0], f[1], f[2], f[3]};
    GLdouble m[16] = {};
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    s["projection"] = std::vector<double>(m, m + 16);
    glGetLightfv(GL_LIGHT0, GL_POSITION, f);
    s["light 0 position"] = {f[0], f[1], f[2], f[3]};

    GLint mode = 0;
    glGetIntegerv(GL_FOG_MODE, &mode);
    GLfloat start = 0, end = 0, colour[4] = {};
    glGetFloatv(GL_FOG_START, &start);
    glGetFloatv(GL_FOG_END, &end);
    glGetFloatv(GL_FOG_COLOR, colour);
    s["fog"] = {double(mode), start, end, colour[0], colour[1], colour[2], colour[3]};
    return s;
}

std::vector<double> ScenePerspectiveMatrix()
{
    const double f = 1.0 / std::tan(22.5 * std::acos(-1.0) / 180.0);
    const double aspect = 1.3333333333333333, zNear = 1.0, zFar = 1000.0;
    std::vector<double> m(16, 0.0);
    m[0] = f / aspect;
    m[5] = f;
    m[10] = (zFar + zNear) / (zNear - zFar);
    m[11] = -1.0;
    m[14] = 2.0 * zFar * zNear / (zNear - zFar);
    return m;
}

std::vector<StateRule> StartOfFrameRules()
{
    constexpr double kEnd = 225.0;
    std::vector<StateRule> rules = {
        {0, kEnd, "GL_LIGHTING", {1}},
        {0, kEnd, "GL_LIGHT0", {1}},
        {0, kEnd, "GL_DEPTH_TEST", {1}},
        {0, kEnd, "depth function", {GL_LEQUAL}},
        {0, kEnd, "GL_CULL_FACE", {1}},
        {0, kEnd, "GL_NORMALIZE", {1}},
        {0, kEnd, "GL_BLEND", {0}},
        {0, kEnd, "GL_FOG", {0}},
        {0, kEnd, "GL_TEXTURE_2D", {0}},
        {0, kEnd, "GL_TEXTURE_GEN_S", {0}},
        {0, kEnd, "GL_TEXTURE_GEN_T", {0}},
        {0, kEnd, "blend function", {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}},
        {0, kEnd, "current colour", {1, 1, 1, 1}},
        {0, kEnd, "modelview depth", {1}},
        {0, kEnd, "projection", ScenePerspectiveMatrix()},
        {0, kEnd, "fog", {GL_LINEAR, 200, 500, 1, 1, 1, 1}},
        // The four-quarter windows leave the lower-left quarter.
        {0, 57, "viewport", {0, 0, 800, 600}},
        {57, 60, "viewport", {0, 0, 400, 300}},
        {60, 131, "viewport", {0, 0, 800, 600}},
        {131, 135, "viewport", {0, 0, 400, 300}},
        {135, 177, "viewport", {0, 0, 800, 600}},
        {177, 179.5, "viewport", {0, 0, 400, 300}},
        {179.5, kEnd, "viewport", {0, 0, 800, 600}},
        // The metaball drawing switches these on for good.
        {0, 60, "GL_COLOR_MATERIAL", {0}},
        {60, kEnd, "GL_COLOR_MATERIAL", {1}},
        {0, 60, "two-sided lighting", {0}},
        {60, kEnd, "two-sided lighting", {1}},
        // The metaball scene passes the light again under the previous camera.
        {0, 60, "light 0 position", {0, 0, 100, 1}},
        {60, kEnd, "light 0 position", {0, 0, -100, 1}},
    };
    return rules;
}

StateCheckSink::StateCheckSink(const FixedStepClock &fixedClock, std::vector<StateRule> stateRules,
                               double untilSeconds)
    : framesPerRule(stateRules.size(), 0), clock(fixedClock), rules(std::move(stateRules)),
      until(untilSeconds)
{
}

namespace {

bool Near(const std::vector<double> &a, const std::vector<double> &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t k = 0; k < a.size(); ++k)
        if (std::fabs(a[k] - b[k]) > 1e-4 * std::max(1.0, std::fabs(b[k])))
            return false;
    return true;
}

std::string Text(const std::vector<double> &v)
{
    std::ostringstream out;
    out << "(";
    for (size_t k = 0; k < v.size(); ++k)
        out << (k ? ", " : "") << v[k];
    out << ")";
    return out.str();
}

} // namespace

bool StateCheckSink::TakeFrame(const uint8_t *, int, int)
{
    const double seconds = clock.PassSeconds(clock.Pass());
    ++frames;
    const GLSnapshot snapshot = TakeGLSnapshot();
    for (size_t r = 0; r < rules.size(); ++r) {
        const StateRule &rule = rules[r];
        if (seconds < rule.from || seconds >= rule.to)
            continue;
        ++framesPerRule[r];
        const auto found = snapshot.find(rule.name);
        const std::vector<double> actual = found == snapshot.end() ? std::vector<double>{} : found->second;
        if (!Near(actual, rule.value) && failures.size() < 40) {
            std::ostringstream line;
            line << "at " << seconds << " s: " << rule.name << " is " << Text(actual) << ", expected "
                 << Text(rule.value);
            failures.push_back(line.str());
        }
    }
    return clock.PassSeconds(clock.Pass() + 1) < until;
}
