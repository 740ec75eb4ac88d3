#pragma once

#include <cstdint>

struct SDL_Window;
class FixedStepClock;

// The soundtrack: one MP3 stream played from an offset, and the magnitude
// spectrum of what is heard.
void SoundInit(SDL_Window *window);
void SoundLoad(const char *path);
void SoundPlay(double offsetSeconds);
// Fills out[0..511] with the spectrum of the 1024 frames ending at the one
// heard now and returns the bytes of audio analysed (4096); returns
// kSoundRequestFailed, leaving out as it was, when nothing plays.
uint32_t SoundGetFFT(float *out);
constexpr uint32_t kSoundRequestFailed = 0xFFFFFFFFu;

// Fixed-step runs open no device: what is "heard" is the audio at the fixed
// clock's time. Call before SoundInit; nullptr returns to live playback.
void SoundUseFixedStepClock(const FixedStepClock *clock);

// The byte of the decoded audio that SoundPlay moves to: offset x 176400,
// truncated, its low 32 bits. Playback starts at the frame holding that byte.
// A negative offset (or NaN) starts at the beginning.
uint32_t SoundBytePosition(double offsetSeconds);

// Blocks until the loaded soundtrack is decoded to its end (tests, benchmarks).
void SoundWaitUntilDecoded();

// Stops playback, closes the device and frees the stream, as the end of the
// process does; the presentation itself never calls it.
void SoundShutdown();
