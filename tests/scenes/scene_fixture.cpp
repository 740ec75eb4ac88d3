#include "scene_fixture.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "driver/render_state.h"
#include "scenes/common.h"

bool FrameGrab::TakeFrame(const uint8_t *pixels, int w, int h)
{
    width = w;
    height = h;
    rgb.assign(pixels, pixels + static_cast<size_t>(w) * h * 3);
    ++frames;
    return true;
}

Rgb FrameGrab::At(int x, int y) const
{
    const uint8_t *p = Pixel(x, y);
    return {p[0], p[1], p[2]};
}

namespace {
bool Matches(const uint8_t *p, Rgb c, int tolerance)
{
    return std::abs(p[0] - c.r) <= tolerance && std::abs(p[1] - c.g) <= tolerance &&
           std::abs(p[2] - c.b) <= tolerance;
}
} // namespace

bool FrameGrab::Is(int x, int y, Rgb colour, int tolerance) const
{
    return Matches(Pixel(x, y), colour, tolerance);
}

FrameGrab::Box FrameGrab::Find(Rgb colour, int tolerance) const
{
    Box box{width, height, -1, -1};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (Matches(Pixel(x, y), colour, tolerance)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.bottom = std::min(box.bottom, y);
                box.top = std::max(box.top, y);
            }
    return box;
}

TestMedia *SceneTest::media = nullptr;
Resources *SceneTest::resources = nullptr;
FixedStepClock *SceneTest::clock = nullptr;
Timer *SceneTest::timer = nullptr;
Demo *SceneTest::demo = nullptr;
FrameGrab *SceneTest::grab = nullptr;

void SceneTest::SetUpTestSuite()
{
    OffscreenGLTest::SetUpTestSuite();
    media = new TestMedia;
    {
        WorkingDirectory inMedia(media->Directory());
        resources = new Resources;
    }
    SetGlobalRenderState();
    LoadScenePerspective();
    // Ten passes per tenth of a second: the test sets the pass, so the time.
    clock = new FixedStepClock(100, 1);
    timer = new Timer(*clock);
    demo = new Demo{*window, *timer};
    demo->resources = resources;
    grab = new FrameGrab;
    window->SetFrameSink(grab);
}

void SceneTest::TearDownTestSuite()
{
    if (window)
        window->SetFrameSink(nullptr);
    delete grab;
    delete demo;
    delete timer;
    delete clock;
    delete resources;
    delete media;
    grab = nullptr;
    demo = nullptr;
    timer = nullptr;
    clock = nullptr;
    resources = nullptr;
    media = nullptr;
    OffscreenGLTest::TearDownTestSuite();
}

void SceneTest::SetUp()
{
    OffscreenGLTest::SetUp();
    ASSERT_NE(resources, nullptr);
}

void SceneTest::SetTime(double tenths)
{
    clock->SetPass(std::llround(tenths * 10.0));
}

ScreenPoint OnScreen(double eye, double x, double y, double z)
{
    // Half the picture height, in scene units, at the point's distance: 300 pixels.
    const double halfHeight = (eye - z) * std::tan(22.5 * std::acos(-1.0) / 180.0);
    return {400.0 + x / halfHeight * 300.0, 300.0 + y / halfHeight * 300.0};
}
