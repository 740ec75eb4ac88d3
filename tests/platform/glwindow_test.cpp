#include <gtest/gtest.h>

#include <SDL.h>
#include <GL/gl.h>

#include <cmath>

#include "support/offscreen_gl.h"

namespace {
class CountingSink final : public FrameSink {
  public:
    bool TakeFrame(const uint8_t *, int w, int h) override
    {
        ++frames;
        width = w;
        height = h;
        return true;
    }
    int frames = 0;
    int width = 0;
    int height = 0;
};

void Post(SDL_Event event)
{
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

SDL_Event KeyDown(SDL_Keycode key)
{
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    return event;
}

SDL_Event WindowClose(SDL_Window *window)
{
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = SDL_WINDOWEVENT_CLOSE;
    event.window.windowID = SDL_GetWindowID(window);
    return event;
}

class GLWindowTest : public OffscreenGLTest {
  protected:
    void SetUp() override
    {
        OffscreenGLTest::SetUp();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        window->quitRequested = false;
        window->SetFrameSink(&sink);
    }
    void TearDown() override { window->SetFrameSink(nullptr); }
    CountingSink sink;
};
} // namespace

TEST_F(GLWindowTest, ConstructionLeavesTheDescribedStateAndProjection)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    // gluPerspective(45, 4/3, 1, 10000): f = 1 / tan(22.5 degrees).
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    const double f = 1.0 / std::tan(M_PI / 8.0);
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[5] / m[0], 800.0 / 600.0, 1e-5);
    const double zFar = m[14] / (m[10] + 1.0); // from (far+near)/(near-far) and 2*far*near/(near-far)
    EXPECT_NEAR(zFar, 10000.0, 1.0);
}

TEST_F(GLWindowTest, CompatibilityContextDrawsInImmediateMode)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex2f(-0.5f, -0.5f);
    glVertex2f(0.5f, -0.5f);
    glVertex2f(0.5f, 0.5f);
    glVertex2f(-0.5f, 0.5f);
    glEnd();
    const auto centre = ReadPixel(400, 300);
    const auto corner = ReadPixel(10, 10);
    EXPECT_EQ(glGetError(), GLenum{GL_NO_ERROR});
    EXPECT_EQ(centre[0], 255);
    EXPECT_EQ(corner[0], 0);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(GLWindowTest, UpdatePresentsAndReturnsTrue)
{
    EXPECT_TRUE(window->Update());
    EXPECT_TRUE(window->Update());
    EXPECT_EQ(sink.frames, 2);
    EXPECT_EQ(sink.width, 800);
    EXPECT_EQ(sink.height, 600);
}

TEST_F(GLWindowTest, QuitIsTakenWithoutPresenting)
{
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Post(quit);
    EXPECT_FALSE(window->Update());
    EXPECT_EQ(sink.frames, 0);
    EXPECT_TRUE(window->quitRequested);
}

TEST_F(GLWindowTest, EscapeAndCloseStillPresentThenPostTheQuit)
{
    for (const SDL_Event event : {KeyDown(SDLK_ESCAPE), WindowClose(window->window)}) {
        sink.frames = 0;
        window->quitRequested = false;
        Post(event);
        EXPECT_TRUE(window->Update()) << "the frame that takes the key is still presented";
        EXPECT_EQ(sink.frames, 1);
        SDL_Event queued;
        EXPECT_EQ(SDL_PeepEvents(&queued, 1, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT), 1) << "the quit is posted";
        int presented = 0;
        while (window->Update() && presented < 100)
            ++presented;
        EXPECT_TRUE(window->quitRequested);
        EXPECT_EQ(sink.frames, 1 + presented) << "the call that takes the quit presents nothing";
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
}

TEST_F(GLWindowTest, OneEventPerUpdate)
{
    Post(KeyDown(SDLK_a));
    Post(KeyDown(SDLK_b));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Post(quit);
    EXPECT_TRUE(window->Update());
    EXPECT_TRUE(window->Update());
    EXPECT_FALSE(window->Update()) << "the quit waits behind two key events";
    EXPECT_EQ(sink.frames, 2);
}

TEST(GLWindowFailures, HandlesNeverObtainedAreCopedWith)
{
    // Without a video driver SDL cannot start: the first step fails with its message,
    // and Update and Destroy still work on the empty handles.
    MessageRecorder recorder;
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    {
        GLWindow window(800, 600, 32, true, "quillane test");
        EXPECT_EQ(window.window, nullptr);
        EXPECT_EQ(window.context, nullptr);
        EXPECT_TRUE(window.Update());
        window.Destroy();
        window.Destroy();
    }
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Unable to register window class");
    EXPECT_EQ(recorder.messages[0].caption, "GLWindow::GLWindow");
}
