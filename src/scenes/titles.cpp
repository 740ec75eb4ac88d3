// Seconds 36 to 60: textured planes scrolling past in white fog, the frame,
// and the title words one after another above it; last in four quarters.
#include <GL/gl.h>

#include "driver/demo.h"
#include "driver/resources.h"
#include "effects/metaballs.h"
#include "effects/scroll_planes.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

namespace {

Texture *TitleTexture(Resources &media, TitleWord word)
{
    switch (word) {
    case TitleWord::Title1:
        return &media.texTitle1;
    case TitleWord::Title2:
        return &media.texTitle2;
    case TitleWord::Title3:
        return &media.texTitle3;
    case TitleWord::Title4:
        return &media.texTitle4;
    case TitleWord::None:
        break;
    }
    return nullptr;
}

// One viewport's picture; the title word, if any, 30 units above the frame's centre.
void DrawTitlePicture(Resources &media, Texture *word, float p)
{
    glEnable(GL_FOG);
    SetCameraOnAxis(200.0f);
    media.texHahastygt.Bind();
    DrawScrollPlanes(p);
    media.texHahastygt.Unbind();
    glDisable(GL_FOG);

    if (word)
        DrawOverlay(*word, 0.0f, 30.0f, 30.0f);
    DrawOverlay(media.texVanligramme, 0.0f, 0.0f, 30.0f);
}

} // namespace

void TitleScene(Demo &demo, TitleWord word)
{
    Resources &media = *demo.resources;
    const float t = demo.timer.GetTime();
    const float p = static_cast<float>(t * 0.02);
    demo.timer.GetDelta();
    ClearFrame(1.0f, 1.0f, 1.0f, 1.0f);
    DrawTitlePicture(media, TitleTexture(media, word), p);
    // Nothing here shows the metaballs, but they move on for the next scene.
    AnimateBalls(25.0f * p);
    demo.window.Update();
}

void TitleQuadScene(Demo &demo)
{
    Resources &media = *demo.resources;
    const float t = demo.timer.GetTime();
    const float p = static_cast<float>(t * 0.02);
    demo.timer.GetDelta();
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    for (int q = 0; q < 4; ++q) {
        QuadrantViewport(q);
        LoadScenePerspective();
        glClear(GL_DEPTH_BUFFER_BIT);
        DrawTitlePicture(media, &media.texTitle4, p);
    }
    // The viewport stays on the lower-left quarter; the next scene restores it.
    demo.window.Update();
}
