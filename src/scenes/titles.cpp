#include <GL/gl.h>

#include "driver/demo.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void TitleScene(Demo &demo, TitleWord word)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    const float shade = 0.1f * static_cast<float>(word);
    DrawPlaceholderFrame(demo, 0.3f + shade, 0.8f, 0.3f);
}

void TitleQuadScene(Demo &demo)
{
    demo.timer.GetTime();
    demo.timer.GetDelta();
    glClearColor(1, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    for (int q = 0; q < 4; ++q) {
        QuadrantViewport(q);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        glScissor(viewport[0], viewport[1], viewport[2], viewport[3]);
        glClearColor(0.2f * static_cast<float>(q), 0.8f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    glDisable(GL_SCISSOR_TEST);
    demo.window.Update();
}
