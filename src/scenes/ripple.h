#pragma once

class SubMesh;

// The wave factors of one pass of the rippling sphere, from its parameter p.
struct RippleWaves {
    float kx;  // 3 to 7
    float ky;  // 3 to 7
    float kz;  // 3 to 7
    float amp; // -5 to 55
};

RippleWaves RippleWavesAt(float p);

// Pushes every vertex of the rest shape along its rest normal by amp times
// three crossed sine waves and writes the result into target. Always from the
// rest shape, so the pattern never drifts. Vertices beyond either count are left alone.
void RippleFromRest(SubMesh &target, const SubMesh &rest, const RippleWaves &waves, float p);
