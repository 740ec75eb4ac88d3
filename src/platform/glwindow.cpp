#include "platform/glwindow.h"

#include <SDL.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

#include "platform/message.h"
#include "platform/picture.h"

namespace {
constexpr const char *kCaption = "GLWindow::GLWindow";

// The pixel format: double-buffered RGBA with a 16-bit depth and 8-bit stencil.
bool RequestPixelFormat(int bits)
{
    const int channel = bits >= 24 ? 8 : 5;
    return SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8) == 0 &&
           // Fixed-function GL 1.1 needs a compatibility context, never core.
           SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY) == 0;
}
} // namespace

GLWindow::GLWindow(int w, int h, int bits, bool fullScreen, const char *windowTitle, WindowSize size)
    : title(windowTitle), width(w), height(h)
{
    const bool desktop = fullScreen && size.desktop;
    int drawableWidth = size.width > 0 ? size.width : width;
    int drawableHeight = size.height > 0 ? size.height : height;

    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        ShowMessage("Unable to register window class", kCaption);
        return;
    }
    videoStarted = true;

    SDL_DisplayMode mode{};
    if (fullScreen) {
        if (SDL_GetCurrentDisplayMode(0, &mode) != 0) {
            ShowMessage("Unable to get displaysettings", "Error");
            return;
        }
        if (desktop) {
            drawableWidth = mode.w;
            drawableHeight = mode.h;
        }
        mode.w = drawableWidth;
        mode.h = drawableHeight;
        mode.format = bits >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    }

    if (!RequestPixelFormat(bits)) {
        ShowMessage("Unable to find a suitable pixelformat", kCaption);
        return;
    }

    const Uint32 fullScreenFlag =
        desktop ? Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP} : Uint32{SDL_WINDOW_FULLSCREEN};
    const Uint32 flags = SDL_WINDOW_OPENGL | (fullScreen ? fullScreenFlag : Uint32{0});
    window = SDL_CreateWindow(title, 0, 0, drawableWidth, drawableHeight, flags | SDL_WINDOW_HIDDEN);
    if (!window)
        return; // silent, as a failed window creation always was

    if (desktop) {
        // The desktop keeps its mode; the window just covers it.
        if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            ShowMessage("Unable to switch to fullscreen", kCaption);
            return;
        }
        SDL_ShowCursor(SDL_DISABLE);
    } else if (fullScreen) {
        SDL_DisplayMode closest{};
        if (!SDL_GetClosestDisplayMode(0, &mode, &closest) ||
            SDL_SetWindowDisplayMode(window, &closest) != 0 ||
            SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) != 0) {
            ShowMessage("Unable to switch to fullscreen", kCaption);
            return;
        }
        SDL_ShowCursor(SDL_DISABLE);
    }

    context = SDL_GL_CreateContext(window);
    if (!context) {
        ShowMessage("Unable to create HRC", kCaption);
        return;
    }
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        ShowMessage("Unable to select HRC", kCaption);
        return;
    }

    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);

    // The drawable is what the window system gave, which need not be what was asked.
    int actualWidth = 0;
    int actualHeight = 0;
    SDL_GL_GetDrawableSize(window, &actualWidth, &actualHeight);
    if (actualWidth > 0 && actualHeight > 0) {
        drawableWidth = actualWidth;
        drawableHeight = actualHeight;
    }
    SetPictureArea(FitPicture(drawableWidth, drawableHeight));
    // The whole picture: (0, 0, width, height) when the drawable is the design size.
    const PictureArea &picture = CurrentPictureArea();
    glViewport(picture.x, picture.y, picture.width, picture.height);
    // Lines drawn at the GL's own width scale with the picture too.
    PictureLineWidth(1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(width) / static_cast<double>(height), 1.0, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glEnable(GL_CULL_FACE);
}

bool GLWindow::Update()
{
    SDL_Event event;
    const bool took = videoStarted && SDL_PollEvent(&event) != 0;
    if (took && event.type == SDL_QUIT) {
        quitRequested = true;
        return false;
    }

    PresentFrame();

    // The message is handled after the frame is presented, as it always was.
    if (took) {
        const bool escape = event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE;
        const bool closed = event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE;
        if (escape || closed) {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            SDL_PushEvent(&quit);
        }
    }
    return true;
}

void GLWindow::PresentFrame()
{
    // Whatever spilled past the picture (glClear ignores the viewport) goes.
    ClearPictureBars();
    glFlush();
    if (frameSink && context) {
        const PictureArea &area = CurrentPictureArea();
        const int w = area.drawableWidth;
        const int h = area.drawableHeight;
        if (!framePixels)
            framePixels = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(w) * h * 3));
        if (framePixels) {
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, framePixels);
            if (!frameSink->TakeFrame(framePixels, w, h))
                quitRequested = true;
        }
    }
    if (window)
        SDL_GL_SwapWindow(window);
}

void GLWindow::Destroy()
{
    if (context) {
        SDL_GL_MakeCurrent(window, nullptr);
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    std::free(framePixels);
    framePixels = nullptr;
    if (videoStarted) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoStarted = false;
    }
}

bool EscapeHeld()
{
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        return false;
    SDL_PumpEvents();
    const Uint8 *keys = SDL_GetKeyboardState(nullptr);
    return keys && keys[SDL_SCANCODE_ESCAPE] != 0;
}
