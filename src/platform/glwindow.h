#pragma once

#include <cstdint>

struct SDL_Window;

// Receives every finished frame instead of the screen, in fixed-step runs.
class FrameSink {
  public:
    virtual ~FrameSink() = default;
    // rows bottom-up, RGB, 3 * width bytes each, tightly packed.
    // Returns false once the run should end.
    virtual bool TakeFrame(const uint8_t *pixels, int width, int height) = 0;
};

// The drawable the picture is shown in. By default it is the design size the
// window was asked for; another size scales the picture into it (with black
// bars where the aspect differs), and desktop full screen takes the display's
// own resolution without switching the mode.
struct WindowSize {
    int width = 0; // 0: the window's design size
    int height = 0;
    bool desktop = false; // full screen only
};

// The presentation's only window and its GL context.
class GLWindow {
  public:
    GLWindow(int width, int height, int bits, bool fullScreen, const char *title, WindowSize size = {});
    ~GLWindow() { Destroy(); }
    GLWindow(const GLWindow &) = delete;
    GLWindow &operator=(const GLWindow &) = delete;

    bool Update();
    void Destroy();

    // The soundtrack operations live with the sound module.
    void PlayMusic(const char *path, float offsetSeconds);
    uint32_t GetSpectrum(float *out);

    // Fixed-step runs hand frames to a sink instead of presenting them.
    void SetFrameSink(FrameSink *sink) { frameSink = sink; }

    SDL_Window *window = nullptr; // plays hwnd
    void *context = nullptr;      // plays hglrc (an SDL_GLContext)
    const char *title = nullptr;  // borrowed; the caller's text outlives the window
    // Set when Update took the quit, or the frame sink asked to stop.
    bool quitRequested = false;
    bool videoStarted = false;

  private:
    void PresentFrame();

    FrameSink *frameSink = nullptr;
    int width = 0; // the design size the scenes draw for
    int height = 0;
    uint8_t *framePixels = nullptr;
};

// Escape held down right now (the keyboard state, not the event queue).
bool EscapeHeld();
