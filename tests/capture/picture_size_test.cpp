#include <gtest/gtest.h>

#include <GL/gl.h>

#include <vector>

#include "platform/glwindow.h"
#include "platform/picture.h"

namespace {
// Keeps the last frame the window presented.
class LastFrame final : public FrameSink {
  public:
    bool TakeFrame(const uint8_t *data, int w, int h) override
    {
        pixels.assign(data, data + static_cast<size_t>(w) * h * 3);
        width = w;
        height = h;
        return true;
    }
    // RGB at x from the left, y from the bottom.
    std::vector<int> At(int x, int y) const
    {
        const size_t i = (static_cast<size_t>(y) * width + x) * 3;
        return {pixels[i], pixels[i + 1], pixels[i + 2]};
    }
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
};
} // namespace

// The 800x600 picture scaled into the drawable: the whole-picture viewport,
// the line width, and black bars however the frame was cleared.
TEST(PictureSizeTest, DrawableOfAnySizeShowsTheScaledPictureBetweenBlackBars)
{
    struct Case {
        int width, height;
        int x, y, w, h; // the picture inside the drawable
        float lineWidth;
    };
    for (const Case &c : {Case{1920, 1080, 240, 0, 1440, 1080, 1.8f}, Case{800, 800, 0, 100, 800, 600, 1.0f},
                          Case{1600, 1200, 0, 0, 1600, 1200, 2.0f}}) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        WindowSize size;
        size.width = c.width;
        size.height = c.height;
        GLWindow window(800, 600, 32, false, "quillane size test", size);
        ASSERT_NE(window.context, nullptr);

        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4), (std::vector<GLint>{c.x, c.y, c.w, c.h}));
        GLfloat lineWidth = 0.0f;
        glGetFloatv(GL_LINE_WIDTH, &lineWidth);
        EXPECT_FLOAT_EQ(lineWidth, c.lineWidth);

        // A quadrant in design space lands in the same quarter of the picture.
        PictureViewport(400, 0, 400, 300);
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(std::vector<GLint>(viewport, viewport + 4),
                  (std::vector<GLint>{c.x + c.w / 2, c.y, c.w / 2, c.h / 2}));

        // A scene clears everything (glClear ignores the viewport) and leaves
        // its own scissor state; the presented frame still has black bars.
        LastFrame frame;
        window.SetFrameSink(&frame);
        glClearColor(0.2f, 0.8f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glScissor(5, 6, 7, 8);
        window.Update();
        ASSERT_EQ(frame.width, c.width);
        ASSERT_EQ(frame.height, c.height);
        const std::vector<int> green{51, 204, 102};
        const std::vector<int> black{0, 0, 0};
        EXPECT_EQ(frame.At(c.x + c.w / 2, c.y + c.h / 2), green);
        EXPECT_EQ(frame.At(c.x, c.y), green);
        EXPECT_EQ(frame.At(c.x + c.w - 1, c.y + c.h - 1), green);
        if (c.x > 0) {
            EXPECT_EQ(frame.At(c.x - 1, c.height / 2), black);
            EXPECT_EQ(frame.At(c.x + c.w, c.height / 2), black);
            EXPECT_EQ(frame.At(0, 0), black);
            EXPECT_EQ(frame.At(c.width - 1, c.height - 1), black);
        }
        if (c.y > 0) {
            EXPECT_EQ(frame.At(c.width / 2, c.y - 1), black);
            EXPECT_EQ(frame.At(c.width / 2, c.y + c.h), black);
        }

        // The scene's state is as it left it.
        GLfloat clear[4];
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        EXPECT_FLOAT_EQ(clear[1], 0.8f);
        EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
        GLint scissor[4];
        glGetIntegerv(GL_SCISSOR_BOX, scissor);
        EXPECT_EQ(std::vector<GLint>(scissor, scissor + 4), (std::vector<GLint>{5, 6, 7, 8}));
        window.SetFrameSink(nullptr);
    }
}
