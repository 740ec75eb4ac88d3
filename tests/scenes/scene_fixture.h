#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "driver/demo.h"
#include "driver/resources.h"
#include "support/offscreen_gl.h"
#include "platform/clock.h"
#include "platform/timer.h"
#include "test_media.h"

// The last frame a scene presented, kept instead of shown.
class FrameGrab final : public FrameSink {
  public:
    bool TakeFrame(const uint8_t *pixels, int w, int h) override;

    // RGB of one pixel, x from the left, y from the bottom.
    Rgb At(int x, int y) const;
    // Whether the pixel is within `tolerance` of the colour in every channel.
    bool Is(int x, int y, Rgb colour, int tolerance = 10) const;

    // The box of the pixels of one colour: inclusive pixel bounds, y from the
    // bottom; empty when none has it.
    struct Box {
        int left = 0, bottom = 0, right = -1, top = -1;
        bool Empty() const { return right < left; }
        double CentreX() const { return (left + right) / 2.0; }
        double CentreY() const { return (bottom + top) / 2.0; }
    };
    Box Find(Rgb colour, int tolerance = 10) const;

    int width = 0;
    int height = 0;
    long frames = 0;
    std::vector<uint8_t> rgb; // rows bottom-up

  private:
    const uint8_t *Pixel(int x, int y) const { return &rgb[(static_cast<size_t>(y) * width + x) * 3]; }
};

// Calls scene routines one at a time on the test media, with the start-up
// render state, a fixed-step clock whose time the test sets, and every frame
// grabbed instead of presented.
class SceneTest : public OffscreenGLTest {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // The clock at `tenths` tenths of a second for every reading until set again.
    void SetTime(double tenths);

    static TestMedia *media;
    static Resources *resources;
    static FixedStepClock *clock;
    static Timer *timer;
    static Demo *demo;
    static FrameGrab *grab;
};

// Where a point of the scene lands on the 800x600 screen, with the standard
// projection and a camera on the z axis at `eye` looking at the origin.
struct ScreenPoint {
    double x, y;
};
ScreenPoint OnScreen(double eye, double x, double y, double z);
