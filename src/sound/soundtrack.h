#pragma once

#include <cstdint>

struct SDL_Window;
class FixedStepClock;

// The soundtrack: one MP3 stream played from an offset, and the magnitude
// spectrum of what is heard.
void SoundInit(SDL_Window *window);
void SoundLoad(const char *path);
void SoundPlay(double offsetSeconds);
uint32_t SoundGetFFT(float *out);

// Fixed-step runs open no device: what is "heard" is the audio at the fixed
// clock's time. Call before SoundInit; nullptr returns to live playback.
void SoundUseFixedStepClock(const FixedStepClock *clock);
