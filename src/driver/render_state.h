#pragma once

// The light and fog values of the whole run, passed to the GL by address.
extern const float lightAmbient[4];
extern const float lightDiffuse[4];
extern const float lightPosition[4]; // positional, (0, 0, 100) under the current modelview
extern const float fogColour[4];

// Light 0, the current colour, the blend function and lighting: the part of
// the start-up state that the metaball scene passes to the GL once more.
void PassLightAndColourState();

// The global render state, set once after loading with the modelview at
// identity: the part above, then texturing, shading, depth and fog (fog
// configured but left off; blending left off).
void SetGlobalRenderState();
