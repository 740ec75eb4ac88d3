#include "driver/render_state.h"

#include <GL/gl.h>

const float lightAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
const float lightDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
const float lightPosition[4] = {0.0f, 0.0f, 100.0f, 1.0f};
const float fogColour[4] = {1.0f, 1.0f, 1.0f, 1.0f};

void PassLightAndColourState()
{
    glLightfv(GL_LIGHT0, GL_AMBIENT, lightAmbient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, lightDiffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, lightPosition);
    glEnable(GL_LIGHT0);
    glColor4f(1.0f, 1.0f, 1.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_LIGHTING);
}

void SetGlobalRenderState()
{
    PassLightAndColourState();
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogfv(GL_FOG_COLOR, fogColour);
    glFogf(GL_FOG_DENSITY, 0.35f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, 200.0f);
    glFogf(GL_FOG_END, 500.0f);
}
