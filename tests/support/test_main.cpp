#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/message.h"

int main(int argc, char **argv)
{
    // Tests never need a display or a sound card, and never show a box.
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SetMessageBoxesAllowed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
