// Where each scene of the first movement puts its pictures and meshes, probed
// on flat-coloured test media.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include "scene_fixture.h"
#include "scenes/scenes.h"

namespace {

const Rgb kWhite{255, 255, 255};

Rgb Colour(const char *file)
{
    return TestMedia::ColourOf(file);
}

// A billboard (300 units square at depth -100 after its translation) seen
// from a camera on the axis: the screen position of its centre.
ScreenPoint BillboardCentre(double eye, double x, double y, double z)
{
    return OnScreen(eye, x, y, z - 100.0);
}

// Frames are drawn 270 or 260 units from the eye: the band around the border
// reaches into the screen at the left and right edges only.
void ExpectFrameAtTheSides(const FrameGrab &grab, Rgb colour, const char *what)
{
    EXPECT_TRUE(grab.Is(790, 300, colour)) << what << " right edge";
    EXPECT_TRUE(grab.Is(10, 300, colour)) << what << " left edge";
    EXPECT_FALSE(grab.Is(650, 300, colour)) << what << " inside";
}

} // namespace

class OpeningPlacementTest : public SceneTest {};

TEST_F(OpeningPlacementTest, PortraitRightOfCentreComingCloser)
{
    demo->spectrum[30] = 0.0f;
    for (double t : {0.0, 100.0}) {
        SetTime(t);
        OpeningScene(*demo);
        const FrameGrab::Box portrait = grab->Find(Colour("new_jesus.jpg"));
        ASSERT_FALSE(portrait.Empty()) << t;
        // Its left edge is 150 units left of its centre at x = 80.
        const double left = OnScreen(100.0, 80.0 - 150.0, 0.0, 0.4 * t - 190.0).x;
        EXPECT_NEAR(portrait.left, left, 2.0) << t;
        EXPECT_TRUE(grab->Is(static_cast<int>(left) - 6, 450, kWhite)) << t;
        EXPECT_EQ(portrait.right, 799) << t; // right of centre, past the right edge
    }
}

TEST_F(OpeningPlacementTest, LogoMovesUpAndRightWithTheSpectrum)
{
    // The word block spans the middle half of the billboard: 75 units each way
    // from its centre. The bottom lies below the screen, so the top edge is measured.
    SetTime(50.0);
    ScreenPoint found[2];
    const float bins[2] = {0.0f, 0.5f};
    for (int k = 0; k < 2; ++k) {
        demo->spectrum[30] = bins[k];
        OpeningScene(*demo);
        const FrameGrab::Box logo = grab->Find(Colour("tekst-velmora.png"));
        ASSERT_FALSE(logo.Empty());
        found[k] = {logo.CentreX(), double(logo.top)};
        const float s = 32.0f * bins[k];
        const ScreenPoint centre = BillboardCentre(100.0, s - 80.0, s - 120.0, -230.0);
        const ScreenPoint top = BillboardCentre(100.0, s - 80.0, s - 120.0 + 75.0, -230.0);
        EXPECT_NEAR(found[k].x, centre.x, 2.0) << bins[k];
        EXPECT_NEAR(found[k].y, top.y, 5.0) << bins[k]; // the filtered edge lies a few pixels in
    }
    // 16 units up and right, 430 units from the eye.
    const double shift = OnScreen(100.0, 16.0, 0.0, -330.0).x - 400.0;
    EXPECT_NEAR(found[1].x - found[0].x, shift, 1.5);
    EXPECT_NEAR(found[1].y - found[0].y, shift, 1.5);
    demo->spectrum[30] = 0.0f;
}

TEST_F(OpeningPlacementTest, SteppedMeshInFrontOfThePortrait)
{
    SetTime(150.0);
    OpeningSpinScene(*demo);
    // The red sphere-mapped mesh at the centre hides the portrait behind it.
    const Rgb centre = grab->At(400, 300);
    EXPECT_GT(centre.r, centre.g + 20);
    EXPECT_GT(centre.r, centre.b + 20);
    EXPECT_FALSE(grab->Is(400, 300, Colour("new_jesus.jpg"), 30));
    EXPECT_TRUE(grab->Is(700, 500, Colour("new_jesus.jpg")));
}

TEST_F(OpeningPlacementTest, DoubleSpinUnderTheFrame)
{
    SetTime(300.0);
    DoubleSpinScene(*demo);
    const Rgb centre = grab->At(400, 300);
    EXPECT_GT(centre.r, centre.g + 20) << "the stepped red mesh at the centre";
    ExpectFrameAtTheSides(*grab, Colour("vanligramme.png"), "frame");
    EXPECT_TRUE(grab->Find(Colour("new_jesus.jpg")).Empty());
    EXPECT_TRUE(grab->Find(Colour("tekst-velmora.png")).Empty());
}

class TitlePlacementTest : public SceneTest {};

TEST_F(TitlePlacementTest, TitleWordAboveTheFrameCentreOnePerWindow)
{
    const struct {
        double t;
        TitleWord word;
        const char *file;
    } windows[] = {{385.0, TitleWord::Title1, "tekst-title1.png"},
                   {405.0, TitleWord::Title2, "tekst-title2.png"},
                   {425.0, TitleWord::Title3, "tekst-title3.png"},
                   {500.0, TitleWord::Title4, "tekst-title4.png"}};
    const ScreenPoint centre = BillboardCentre(200.0, 0.0, 30.0, 30.0);
    for (const auto &w : windows) {
        SetTime(w.t);
        TitleScene(*demo, w.word);
        const FrameGrab::Box word = grab->Find(Colour(w.file));
        ASSERT_FALSE(word.Empty()) << w.file;
        EXPECT_NEAR(word.CentreX(), centre.x, 2.0) << w.file;
        EXPECT_NEAR(word.CentreY(), centre.y, 2.0) << w.file;
        ExpectFrameAtTheSides(*grab, Colour("vanligramme.png"), w.file);
    }
    SetTime(370.0);
    TitleScene(*demo, TitleWord::None);
    for (const char *file : {"tekst-title1.png", "tekst-title2.png", "tekst-title3.png", "tekst-title4.png"})
        EXPECT_TRUE(grab->Find(Colour(file)).Empty()) << file;
}

TEST_F(TitlePlacementTest, FourQuartersAndTheViewportLeftAtTheLowerLeft)
{
    SetTime(580.0);
    TitleQuadScene(*demo);
    const ScreenPoint centre = BillboardCentre(200.0, 0.0, 30.0, 30.0);
    const int origins[4][2] = {{0, 300}, {400, 300}, {400, 0}, {0, 0}};
    for (const auto &o : origins) {
        // Each quarter shows the whole picture at half size.
        const int x = o[0] + static_cast<int>(centre.x / 2);
        const int y = o[1] + static_cast<int>(centre.y / 2);
        EXPECT_TRUE(grab->Is(x, y, Colour("tekst-title4.png"))) << o[0] << "," << o[1];
        EXPECT_TRUE(grab->Is(o[0] + 395, o[1] + 150, Colour("vanligramme.png"))) << o[0] << "," << o[1];
    }
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), std::vector<GLint>({0, 0, 400, 300}));

    // The next window draws on the whole screen again, its frame where the titles' frame was.
    SetTime(650.0);
    MetaballScene(*demo);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), std::vector<GLint>({0, 0, 800, 600}));
    ExpectFrameAtTheSides(*grab, Colour("bassramme.png"), "bass frame");
    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_EQ(std::vector<GLfloat>(light, light + 4), std::vector<GLfloat>({0.0f, 0.0f, -100.0f, 1.0f}));
}

class BumpAndRipplePlacementTest : public SceneTest {};

TEST_F(BumpAndRipplePlacementTest, ThreeMeshesAddedAtTheCentreUnderTheGridFrame)
{
    SetTime(800.0);
    BumpTrioScene(*demo);
    // Blue replaced, red and green added on top: every channel has a share.
    const Rgb centre = grab->At(400, 300);
    EXPECT_GT(centre.r, 30);
    EXPECT_GT(centre.g, 30);
    EXPECT_GT(centre.b, 30);
    EXPECT_FALSE(grab->Is(400, 300, kWhite, 40));
    ExpectFrameAtTheSides(*grab, Colour("gridramme1.png"), "grid frame");
}

TEST_F(BumpAndRipplePlacementTest, BlueSphereLeftOfCentreUnderTheFlameFrame)
{
    SetTime(950.0);
    RippleScene(*demo);
    const ScreenPoint sphere = OnScreen(200.0, -40.0, 0.0, 0.0);
    const Rgb centre = grab->At(static_cast<int>(sphere.x), 300);
    EXPECT_GT(centre.b, centre.r + 20);
    EXPECT_GT(centre.b, centre.g + 20);
    // 40 units left of the axis: the right of the screen's centre column stays clear.
    EXPECT_TRUE(grab->Is(600, 300, kWhite));
    ExpectFrameAtTheSides(*grab, Colour("flammekasterramme.png"), "flame frame");
}
