#include "offscreen_gl.h"

#include <SDL.h>
#include <GL/gl.h>

#include <dlfcn.h>
#include <link.h>

#include "platform/message.h"

namespace {
// The GL driver's modules are unloaded with the last window; kept mapped,
// LeakSanitizer can name them at exit, and lsan.supp covers their leaks.
int KeepLoaded(dl_phdr_info *info, size_t, void *)
{
    if (info->dlpi_name && info->dlpi_name[0] != '\0')
        dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}
} // namespace

GLWindow *OffscreenGLTest::window = nullptr;

void OffscreenGLTest::SetUpTestSuite()
{
    window = new GLWindow(800, 600, 32, false, "quillane test");
    dl_iterate_phdr(KeepLoaded, nullptr);
}

void OffscreenGLTest::TearDownTestSuite()
{
    delete window;
    window = nullptr;
}

void OffscreenGLTest::SetUp()
{
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->context, nullptr) << "no offscreen GL context: " << SDL_GetError();
    SDL_GL_MakeCurrent(window->window, window->context);
}

std::vector<uint8_t> OffscreenGLTest::ReadPixel(int x, int y)
{
    std::vector<uint8_t> rgba(4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

MessageRecorder::MessageRecorder()
{
    SetMessageHook([this](const char *text, const char *caption) { messages.push_back({text, caption}); });
}

MessageRecorder::~MessageRecorder()
{
    SetMessageHook({});
}
