#pragma once

class Mesh;
class Texture;
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

// Sets the clear colour and clears colour and depth.
void ClearFrame(float red, float green, float blue, float alpha);

// The camera most scenes use: on the z axis at the given distance, looking at
// the origin with y up. Multiplies the current matrix; the scene picks the
// mode and loads the identity first, because some push in between.
void LookAtOriginFrom(float distance);

// Selects the modelview matrix, loads the identity and sets that camera.
void SetCameraOnAxis(float distance);

// An image over everything drawn so far: alpha-blended, no depth test, the
// billboard translated by (x, y, z). Leaves the blend function for alpha.
void DrawOverlay(Texture &texture, float x, float y, float z);

// The mesh with the texture as a reflected environment (sphere-mapped
// texture coordinates), texturing and generation off again afterwards.
void DrawSphereMapped(Mesh &mesh, Texture &texture);

// Scenes not drawn yet: the frame cleared to a colour of their own, presented.
void DrawPlaceholderFrame(Demo &demo, float red, float green, float blue);
