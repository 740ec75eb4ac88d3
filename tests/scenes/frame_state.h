#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/glwindow.h"

// The GL state a frame leaves behind, read back from the GL by name:
//   "GL_LIGHTING", "GL_LIGHT0", "GL_DEPTH_TEST", "GL_CULL_FACE", "GL_NORMALIZE",
//   "GL_BLEND", "GL_FOG", "GL_TEXTURE_2D", "GL_TEXTURE_GEN_S", "GL_TEXTURE_GEN_T",
//   "GL_COLOR_MATERIAL" (1 or 0 each), "two-sided lighting", "depth function",
//   "blend function" (source, destination), "current colour" (4),
//   "modelview depth", "viewport" (in the 800x600 design space),
//   "projection" (16, column-major), "light 0 position" (eye space, 4),
//   "fog" (mode, start, end, red, green, blue, alpha).
using GLSnapshot = std::map<std::string, std::vector<double>>;
GLSnapshot TakeGLSnapshot();

// One expectation: from `from` (inclusive) to `to` (exclusive) seconds of
// presentation time, every frame ends with `name` holding `value`.
struct StateRule {
    double from;
    double to;
    std::string name;
    std::vector<double> value;
};

// The state every frame finds at its start, which is the state the frame
// before left, for the whole run (0 to 225 s). Extend with rules of your own.
std::vector<StateRule> StartOfFrameRules();

// The matrix of the scenes' 45-degree perspective, column-major.
std::vector<double> ScenePerspectiveMatrix();

// Checks every frame of a fixed-step run against the rules as it is handed
// over, and ends the run after the last frame before `until` seconds.
class StateCheckSink final : public FrameSink {
  public:
    StateCheckSink(const FixedStepClock &clock, std::vector<StateRule> rules, double until);

    bool TakeFrame(const uint8_t *pixels, int width, int height) override;

    long frames = 0;
    // One line per broken rule, first frames first; capped so a run that goes
    // wrong early does not drown the report.
    std::vector<std::string> failures;
    // Frames checked per rule, so a rule whose range no frame reached shows up.
    std::vector<long> framesPerRule;

  private:
    const FixedStepClock &clock;
    std::vector<StateRule> rules;
    double until;
};
