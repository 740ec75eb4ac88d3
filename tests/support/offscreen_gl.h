#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/glwindow.h"

// A test suite with a headless 800x600 GL context (Mesa llvmpipe through
// SDL's offscreen driver), made once per suite and current during each test.
class OffscreenGLTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // RGBA of one pixel of the back buffer, x from the left, y from the bottom.
    static std::vector<uint8_t> ReadPixel(int x, int y);

    static GLWindow *window;
};

// Records every message the presentation shows while it lives.
class MessageRecorder {
  public:
    MessageRecorder();
    ~MessageRecorder();

    struct Message {
        std::string text;
        std::string caption;
    };
    std::vector<Message> messages;
};
