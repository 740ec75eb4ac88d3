#pragma once

struct Demo;

// What several scenes share.

// The stepped spin of 140-360: gather frame time d (tenths of a second) and
// turn by 20 degrees whenever more than 4.6 tenths have gathered; at most one
// step per pass, the excess stays for the next.
void AdvanceSteppedSpin(Demo &demo, float d);

// The 45-degree perspective every scene draws with (aspect 4:3, near 1, far 1000).
void LoadScenePerspective();

// The whole 800x600 window, and the standard projection loaded again.
void FullWindowView();

// Viewport of quadrant q of the four-quadrant windows, filled clockwise from
// the upper left: 0 upper left, 1 upper right, 2 lower right, 3 lower left.
void QuadrantViewport(int q);

// Scenes not drawn yet: the frame cleared to a colour of their own, presented.
void DrawPlaceholderFrame(Demo &demo, float red, float green, float blue);

class Texture;

// A texture's picture as a blended billboard at (x, y, z) of the current
// modelview: BeginBlend, DrawBillboard, EndBlend. Leaves blending off, the
// depth test on, the blend function (SRC_ALPHA, ONE_MINUS_SRC_ALPHA),
// lighting on, texturing off and the colour opaque white.
void DrawOverlay(Texture &texture, float x, float y, float z);
