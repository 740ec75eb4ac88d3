#include "sound/soundtrack.h"

#include "platform/glwindow.h"

// Playback comes with the soundtrack work; until then the presentation runs silent
// and the spectrum stays as the driver started it.
void SoundInit(SDL_Window *) {}
void SoundLoad(const char *) {}
void SoundPlay(double) {}
uint32_t SoundGetFFT(float *)
{
    return 0xFFFFFFFFu;
}
void SoundUseFixedStepClock(const FixedStepClock *) {}

void GLWindow::PlayMusic(const char *path, float offsetSeconds)
{
    SoundInit(window);
    SoundLoad(path);
    SoundPlay(static_cast<double>(offsetSeconds));
}

uint32_t GLWindow::GetSpectrum(float *out)
{
    return SoundGetFFT(out);
}
