// The scenes of 103-225 s drawn with a flat-coloured media set: where each
// picture lands, the state every frame leaves, the slime's start and the end.
#include <GL/gl.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

#include "driver/demo.h"
#include "driver/fixed_step.h"
#include "driver/render_state.h"
#include "driver/resources.h"
#include "driver/timeline.h"
#include "driver/main_loop.h"
#include "frame_state.h"
#include "scene_fixture.h"
#include "test_media.h"
#include "whole_word_media.h"
#include "support/offscreen_gl.h"
#include "platform/clock.h"
#include "platform/timer.h"
#include "scenes/common.h"
#include "scenes/scenes.h"
#include "support/scripted_clock.h"

namespace fs = std::filesystem;

namespace {

struct Viewport {
    int x, y, width, height;
};
constexpr Viewport kFullWindow{0, 0, 800, 600};
constexpr Viewport kQuadrants[4] = {
    {0, 300, 400, 300}, {400, 300, 400, 300}, {400, 0, 400, 300}, {0, 0, 400, 300}};

// Screen rectangle of the 300x300 billboard placed at (x, y, z) (its quad lies
// 100 further on) seen from a camera at (0, 0, cameraZ) with the scenes'
// 45-degree, 4:3 projection, in window pixels.
struct Rect {
    double left, right, bottom, top;
    bool Contains(double px, double py) const { return px > left && px < right && py > bottom && py < top; }
};

Rect BillboardRect(double x, double y, double z, double cameraZ, Viewport vp)
{
    const double depth = cameraZ - (z - 100.0);
    const double f = 1.0 / std::tan(22.5 * std::numbers::pi / 180.0);
    const auto sx = [&](double ex) { return vp.x + vp.width * (1.0 + f / (4.0 / 3.0) * ex / depth) / 2.0; };
    const auto sy = [&](double ey) { return vp.y + vp.height * (1.0 + f * ey / depth) / 2.0; };
    return {sx(x - 150.0), sx(x + 150.0), sy(y - 150.0), sy(y + 150.0)};
}

std::string Describe(Rgb c)
{
    char text[32];
    std::snprintf(text, sizeof text, "(%d, %d, %d)", c.r, c.g, c.b);
    return text;
}

// The test media with whole words, loaded once per suite; each test draws
// single frames of the scenes and reads them back.
class SecondMovement : public OffscreenGLTest {
  protected:
    static void SetUpTestSuite()
    {
        OffscreenGLTest::SetUpTestSuite();
        media = new TestMedia;
        MakeWordsWhole(media->Directory());
        messages = new MessageRecorder;
        WorkingDirectory inMedia(media->Directory());
        resources = new Resources;
    }
    static void TearDownTestSuite()
    {
        delete resources;
        resources = nullptr;
        delete messages;
        messages = nullptr;
        delete media;
        media = nullptr;
        OffscreenGLTest::TearDownTestSuite();
    }
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        ASSERT_TRUE(messages->messages.empty()) << messages->messages.front().text;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        SetGlobalRenderState();
        FullWindowView();
        window->SetFrameSink(&keeper);
    }
    void TearDown() override { window->SetFrameSink(nullptr); }

    // Draws one frame of the scene with every clock reading at time t.
    void DrawAt(SceneRoutine scene, double t)
    {
        ScriptedClock clock;
        clock.Push(0); // the Timer starts its time here
        clock.Push(t); // and reads t from then on
        Timer timer(clock);
        Demo demo{*window, timer};
        demo.resources = resources;
        std::copy(std::begin(spectrum), std::end(spectrum), demo.spectrum);
        scene(demo);
    }

    // Expects the picture of the file inside the rectangle, `inset` pixels in
    // from the given edge, and not just outside it.
    void ExpectEdge(const char *file, const Rect &rect, char edge, double along)
    {
        const double inset = 3.0;
        double inX = along, inY = along, outX = along, outY = along;
        switch (edge) {
        case 'l':
            inX = rect.left + inset, outX = rect.left - inset;
            break;
        case 'r':
            inX = rect.right - inset, outX = rect.right + inset;
            break;
        case 't':
            inY = rect.top - inset, outY = rect.top + inset;
            break;
        default:
            inY = rect.bottom + inset, outY = rect.bottom - inset;
        }
        const Rgb colour = TestMedia::ColourOf(file);
        EXPECT_TRUE(keeper.Is(inX, inY, colour)) << file << " missing inside its edge at " << inX << ", "
                                                 << inY << ": " << Describe(keeper.At(inX, inY));
        EXPECT_FALSE(keeper.Is(outX, outY, colour))
            << file << " reaches past its edge at " << outX << ", " << outY;
    }

    static TestMedia *media;
    static MessageRecorder *messages;
    static Resources *resources;
    FrameGrab keeper;
    float spectrum[1024] = {};
};

TestMedia *SecondMovement::media = nullptr;
MessageRecorder *SecondMovement::messages = nullptr;
Resources *SecondMovement::resources = nullptr;

TEST_F(SecondMovement, GreetingsSlideAcrossTheView)
{
    // At 103 s the first word's left edge shows at the right (it stands at
    // x = 202); the other two stand off-screen at -252 and 252.
    DrawAt(GreetingsScene, 1030);
    ExpectEdge("tekst-scene.png", BillboardRect(202, 25, -5, 30, kFullWindow), 'l', 300);

    // At 131 s, in every quadrant: the second word's left edge (x = 196) and
    // the third word's right edge (x = -196).
    DrawAt(GreetingsQuadScene, 1310);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST)) << "the quadrants' scissor outlives the frame";
    for (const Viewport &quadrant : kQuadrants) {
        const double middle = quadrant.y + quadrant.height / 2.0;
        ExpectEdge("tekst-fenvall.png", BillboardRect(196, 20, -5, 30, quadrant), 'l', middle);
        ExpectEdge("tekst-brakkon.png", BillboardRect(-196, 15, -5, 30, quadrant), 'r', middle);
    }
}

TEST_F(SecondMovement, MusicWordComesNearerWithBinSeven)
{
    // z = bin 7 x 64 - 600: its right and top edges move by several pixels.
    for (const float bin : {0.0f, 1.0f}) {
        SCOPED_TRACE(bin);
        spectrum[7] = bin;
        DrawAt(GreetingsQuadScene, 1320);
        const Viewport lowerLeft = kQuadrants[3];
        const Rect rect = BillboardRect(-260, -200, bin * 64 - 600, 30, lowerLeft);
        ExpectEdge("tekst-dunmere.png", rect, 'r', 60);
        ExpectEdge("tekst-dunmere.png", rect, 't', 60);
    }
}

// Reading the frame in a column around x: is any pixel there mostly red?
bool RedLineNear(const FrameGrab &frame, double x, double y)
{
    for (int dx = -2; dx <= 2; ++dx) {
        const Rgb c = frame.At(x + dx, y);
        if (c.r > c.g + 60 && c.r > c.b + 60)
            return true;
    }
    return false;
}

TEST_F(SecondMovement, WireBallSwellsWithBinFour)
{
    // At this time the common angle is a whole number of turns, so the
    // square's left edge lies on x = -5 s at depth 25, with s = bin 4 + 1.2.
    const double time = 1466.6667;
    const double pixelsPerUnit =
        400.0 * (1.0 / std::tan(22.5 * std::numbers::pi / 180.0)) / (4.0 / 3.0) / 25.0;
    for (const float bin : {0.0f, 0.8f}) {
        SCOPED_TRACE(bin);
        spectrum[4] = bin;
        DrawAt(SpikeScene, time);
        const double scale = bin + 1.2;
        EXPECT_TRUE(RedLineNear(keeper, 400.0 - 5.0 * scale * pixelsPerUnit, 300.0));
        const double otherScale = bin == 0.0f ? 2.0 : 1.2;
        EXPECT_FALSE(RedLineNear(keeper, 400.0 - 5.0 * otherScale * pixelsPerUnit, 300.0));
        // The solid ball inside is sphere-mapped blue.
        const Rgb centre = keeper.At(400, 300);
        EXPECT_GT(centre.b, centre.r + 60) << Describe(centre);
    }
}

struct Credit {
    const char *file;
    double x, y, z;
};
constexpr Credit kCredits[] = {
    {"tekst-pennick.png", -290, 70, -500},  {"tekst-code.png", -200, 20, -700},
    {"tekst-holvar.png", -300, -90, -600},  {"tekst-music.png", -200, -180, -700},
    {"tekst-traske.png", -320, -280, -600}, {"tekst-graphics.png", -200, -370, -700},
};

// Every credit shows where it stands, down the left side, including the role
// words that lie exactly on the far plane: its colour just inside its right
// and top edges and not just outside, wherever no later credit covers it.
void ExpectCredits(const FrameGrab &frame, Viewport vp)
{
    const auto onScreen = [&](double x, double y) {
        return x >= vp.x && x < vp.x + vp.width && y >= vp.y && y < vp.y + vp.height;
    };
    for (size_t k = 0; k < std::size(kCredits); ++k) {
        const Credit &credit = kCredits[k];
        const Rgb colour = TestMedia::ColourOf(credit.file);
        const Rect rect = BillboardRect(credit.x, credit.y, credit.z, 200, vp);
        EXPECT_LT(rect.right, vp.x + vp.width / 2.0) << credit.file << " is not on the left side";
        const auto coveredLater = [&](double x, double y) {
            for (size_t later = k + 1; later < std::size(kCredits); ++later) {
                const Credit &c = kCredits[later];
                if (BillboardRect(c.x, c.y, c.z, 200, vp).Contains(x, y))
                    return true;
            }
            return false;
        };
        for (const char edge : {'r', 't'}) {
            bool probed = false;
            for (int step = 1; step < 20 && !probed; ++step) {
                const double along = step / 20.0;
                double inX = rect.right - 3, outX = rect.right + 3;
                double inY = rect.bottom + along * (rect.top - rect.bottom), outY = inY;
                if (edge == 't') {
                    inX = outX = rect.left + along * (rect.right - rect.left);
                    inY = rect.top - 3, outY = rect.top + 3;
                }
                if (!onScreen(inX, inY) || !onScreen(outX, outY) || coveredLater(inX, inY) ||
                    coveredLater(outX, outY))
                    continue;
                probed = true;
                EXPECT_TRUE(frame.Is(inX, inY, colour)) << credit.file << " not at " << inX << ", " << inY
                                                        << ": " << Describe(frame.At(inX, inY));
                EXPECT_FALSE(frame.Is(outX, outY, colour))
                    << credit.file << " reaches " << outX << ", " << outY;
            }
            EXPECT_TRUE(probed) << credit.file << " has no edge " << edge << " to probe";
        }
    }
}

TEST_F(SecondMovement, CreditsStandDownTheLeftSide)
{
    DrawAt(CreditsScene, 1630);
    ExpectCredits(keeper, kFullWindow);
    DrawAt(CreditsQuadScene, 1780);
    for (const Viewport &quadrant : kQuadrants)
        ExpectCredits(keeper, quadrant);
}

TEST_F(SecondMovement, ClosingPictureCoversTheWholeWindow)
{
    DrawAt(ClosingScene, 2100);
    const Rgb colour = TestMedia::ColourOf("garbage_queen.jpg");
    for (const auto &[x, y] :
         std::vector<std::pair<int, int>>{{0, 0}, {799, 0}, {0, 599}, {799, 599}, {400, 300}})
        EXPECT_TRUE(keeper.Is(x, y, colour)) << x << ", " << y << ": " << Describe(keeper.At(x, y));
}

TEST_F(SecondMovement, SlimeStartsCloseToItsRestShape)
{
    FixedStepClock clock(60, 1);
    Timer timer(clock);
    Demo demo{*window, timer};
    demo.resources = resources;
    std::fill(resources->slimyOffset.begin(), resources->slimyOffset.end(), Vec3{0, 0, 0});
    clock.SetPass(PassAt(clock, 189.0));
    int drawn = -1;
    while (drawn != 19 && clock.Pass() < PassAt(clock, 191.0)) {
        drawn = RunTimelinePass(demo);
        clock.SetPass(clock.Pass() + 1);
    }
    ASSERT_EQ(drawn, 19) << "no slime frame";

    // The held stamp makes the slime's own time start near 0, so the twist
    // has hardly begun: every vertex within a hundredth of its rest distance.
    const SubMesh &rest = *resources->meshSlimyB.objects[0];
    const SubMesh &slime = *resources->meshSlimy.objects[0];
    ASSERT_EQ(rest.vertexCount, slime.vertexCount);
    double largestMove = 0.0;
    for (int i = 0; i < rest.vertexCount; ++i) {
        const float *r = rest.positions + 3 * i;
        const float *p = slime.positions + 3 * i;
        const double move = std::hypot(p[0] - r[0], p[1] - r[1], p[2] - r[2]);
        ASSERT_TRUE(std::isfinite(move)) << "vertex " << i;
        EXPECT_LE(move, 0.01 * std::hypot(r[0], r[1], r[2]) + 1e-6) << "vertex " << i;
        largestMove = std::max(largestMove, move);
        for (int c = 0; c < 3; ++c)
            ASSERT_TRUE(std::isfinite(slime.normals[3 * i + c])) << "normal of vertex " << i;
    }
    EXPECT_GT(largestMove, 0.0) << "the slime did not move at all";
}

// Checks every frame's end state and keeps the last frame.
class CheckAndKeep final : public FrameSink {
  public:
    CheckAndKeep(StateCheckSink &stateCheck, FrameGrab &lastFrame) : check(stateCheck), last(lastFrame) {}
    bool TakeFrame(const uint8_t *pixels, int width, int height) override
    {
        last.TakeFrame(pixels, width, height);
        return check.TakeFrame(pixels, width, height);
    }

  private:
    StateCheckSink &check;
    FrameGrab &last;
};

// The whole run in fixed steps from start-up, never stopped from outside.
struct WholeRun {
    explicit WholeRun(int fps) : clock(fps, 1), check(clock, StartOfFrameRules(), 1e9), sink(check, last)
    {
        PresentationConfig config;
        config.fullScreen = false;
        config.fixedStep = &clock;
        config.frameSink = &sink;
        RunPresentation(config);
    }
    void ExpectEveryRuleHeld() const
    {
        for (const std::string &failure : check.failures)
            ADD_FAILURE() << failure;
        for (size_t r = 0; r < check.framesPerRule.size(); ++r)
            EXPECT_GT(check.framesPerRule[r], 0) << "rule " << r << " met no frame";
    }

    FixedStepClock clock;
    StateCheckSink check;
    FrameGrab last;
    CheckAndKeep sink;
};

// Every frame up to the end leaves the state the next one starts with (the
// quadrant windows leaving the lower-left quarter), and the run ends by
// itself: the pass at 225 s presents nothing, so the last frame presented,
// at 224.5 s, is the closing picture.
TEST(WholeRunState, EveryFrameToTheEndLeavesTheStateAndTheRunEndsByItself)
{
    TestMedia media;
    WorkingDirectory inMedia(media.Directory());
    MessageRecorder messages;
    const WholeRun run(2); // every window gets four frames or more
    run.ExpectEveryRuleHeld();
    EXPECT_EQ(run.check.frames, 225 * 2);
    for (const auto &[x, y] : std::vector<std::pair<int, int>>{{0, 0}, {799, 599}, {400, 300}})
        EXPECT_TRUE(run.last.Is(x, y, TestMedia::ColourOf("garbage_queen.jpg")))
            << x << ", " << y << ": " << Describe(run.last.At(x, y));
}

// With no media at all every scene still draws its frame with the same end
// state; the slime has nothing to twist and is left alone.
TEST(WholeRunState, WithoutMediaTheRunStillEndsByItself)
{
    TestMedia media;
    const fs::path empty = media.Directory() / "empty";
    fs::create_directories(empty);
    WorkingDirectory inEmpty(empty);
    MessageRecorder messages;
    const WholeRun run(1);
    run.ExpectEveryRuleHeld();
    EXPECT_EQ(run.check.frames, 225);
}

} // namespace
