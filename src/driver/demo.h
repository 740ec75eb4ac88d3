#pragma once

#include "platform/glwindow.h"
#include "platform/timer.h"

struct Resources; // the media set: textures, meshes, the warp image, the slime arrays

// Everything the presentation carries from frame to frame, in one place.
// Scene routines take it and reach into it; nothing else keeps state.
struct Demo {
    GLWindow &window;
    Timer &timer;
    Resources *resources = nullptr;
    // The soundtrack's magnitude spectrum; the scenes read entries 4, 7, 25, 30.
    // Never cleared: a scene that reads without fetching sees the last fetch.
    float spectrum[1024] = {};
    // Frame time gathered for the stepped spin (140-360), then the clock stamp
    // that the slime scene counts from (1795-1895).
    float heldTime = 0.0f;
    float stepAngle = 0.0f; // degrees
    bool quitFlag = false;
};
