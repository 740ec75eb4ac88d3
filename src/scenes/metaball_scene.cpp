// Seconds 60 to 74: the metaballs seen from close by, turning slowly, under
// the bass frame. The light and colour state goes to the GL once more here.
#include <GL/gl.h>

#include "driver/demo.h"
#include "driver/render_state.h"
#include "driver/resources.h"
#include "effects/metaballs.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void MetaballScene(Demo &demo)
{
    FullWindowView(); // after the four quarters
    const float t = demo.timer.GetTime();
    const float p = static_cast<float>(t * 0.2);
    demo.timer.GetDelta();
    ClearFrame(1.0f, 1.0f, 1.0f, 0.0f);

    // Pushed before the identity: saves the matrix the frame started with.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    LookAtOriginFrom(2.0f);
    glTranslatef(-0.2f, 0.0f, 0.0f);
    glRotatef(20.0f * p, 1.0f, 0.5f, 1.0f);
    AnimateBalls(25.0f * p);
    DrawMetaballs();
    glPopMatrix();

    // Under the restored matrix the light lands at (0, 0, -100) in eye space,
    // and stays there for the rest of the run.
    PassLightAndColourState();

    DrawOverlay(demo.resources->texBassramme, 0.0f, 0.0f, 30.0f);
    demo.window.Update();
}
