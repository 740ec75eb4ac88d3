#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>

#include "platform/message.h"

int main(int argc, char **argv)
{
    // Tests never need a display or a sound card, and never show a box.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetMessageBoxesAllowed(false);
    // Mesa unloads its software driver when the last context goes; the leak
    // checker then cannot name the driver's own leaks to suppress them. Kept
    // loaded, they are named and suppressed (tests/support/lsan.supp).
    for (const char *library :
         {"libEGL.so.1", "libEGL_mesa.so.0", "/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so"})
        dlopen(library, RTLD_LAZY | RTLD_NODELETE);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
