#include <gtest/gtest.h>

#include <SDL.h>

#include <dlfcn.h>

#include <dlfcn.h>

#include <cstdlib>

#include "platform/message.h"

// SDL unloads the GL driver when a window goes; the driver's own allocations
// then look like leaks to LeakSanitizer. Keeping it loaded keeps them reachable.
static void KeepGLDriverLoaded()
{
    for (const char *library : {"libEGL.so.1", "libEGL_mesa.so.0", "libGL.so.1", "libGLX_mesa.so.0",
                                "libGLdispatch.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(library, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
}

int main(int argc, char **argv)
{
    KeepGLDriverLoaded();
    // Tests never need a display or a sound card, and never show a box.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetMessageBoxesAllowed(false);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    SDL_Quit();
    return status;
}
