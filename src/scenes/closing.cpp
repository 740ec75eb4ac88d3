// 208-225 s: one picture over the whole window, rippling through the
// wobbling lattice, until the music ends. The timeline ends the run at 225 s.
#include <GL/gl.h>

#include "driver/demo.h"
#include "driver/resources.h"
#include "scenes/common.h"
#include "scenes/scenes.h"

void ClosingScene(Demo &demo)
{
    const float w = static_cast<float>(demo.timer.GetTime() * 0.2);
    demo.timer.GetDelta();

    ClearFrame(1, 1, 1, 0);
    // The warp leaves the matrix mode at the projection; take the modelview back.
    SetCameraOnAxis(1);
    // Corner [0][0] top right and [9][9] bottom left, 0.1 beyond the window.
    demo.resources->warpGarbageQueen.Draw(1.1f, 1.1f, -0.1f, -0.1f, w);

    demo.window.Update();
}
