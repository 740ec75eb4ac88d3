#include "sound/fft_magnitudes.h"

#include <kiss_fftr.h>

#include <cmath>
#include <numbers>

static_assert(sizeof(kiss_fft_cpx) == 2 * sizeof(float), "kiss_fft_cpx is a pair of floats");

SpectrumAnalyser::SpectrumAnalyser() : plan(kiss_fftr_alloc(kFrames, 0, nullptr, nullptr))
{
    // The periodic Hann window: a bin-centre sine leaks only into its two neighbours.
    double sum = 0.0;
    for (int n = 0; n < kFrames; ++n) {
        window[n] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / kFrames));
        sum += window[n];
    }
    magnitudeScale = static_cast<float>(2.0 / sum);
}

SpectrumAnalyser::~SpectrumAnalyser()
{
    kiss_fftr_free(plan);
}

void SpectrumAnalyser::Analyse(const int16_t *frames, float *out)
{
    for (int n = 0; n < kFrames; ++n) {
        const float mono =
            (static_cast<float>(frames[2 * n]) + static_cast<float>(frames[2 * n + 1])) * (0.5f / 32768.0f);
        samples[n] = mono * window[n];
    }
    kiss_fft_cpx *spectrum = reinterpret_cast<kiss_fft_cpx *>(bins);
    kiss_fftr(plan, samples, spectrum);
    for (int k = 0; k < kBins; ++k)
        out[k] = std::hypot(spectrum[k].r, spectrum[k].i) * magnitudeScale;
}
