#pragma once

#include <cstdint>

struct kiss_fftr_state;

// The magnitude spectrum of 1024 stereo frames: mixed to mono, Hann window,
// real FFT, |X[k]| * 2 / sum(window), so that a full-scale sine at a bin
// centre reads about 1.0 and silence reads 0. Entry k covers k * 44100 / 1024 Hz.
class SpectrumAnalyser {
  public:
    static constexpr int kFrames = 1024;
    static constexpr int kBins = kFrames / 2;

    SpectrumAnalyser();
    ~SpectrumAnalyser();
    SpectrumAnalyser(const SpectrumAnalyser &) = delete;
    SpectrumAnalyser &operator=(const SpectrumAnalyser &) = delete;

    // frames: kFrames interleaved stereo frames, oldest first. Writes out[0..kBins-1]
    // and nothing else; allocates nothing.
    void Analyse(const int16_t *frames, float *out);

  private:
    kiss_fftr_state *plan = nullptr;
    float window[kFrames];
    float magnitudeScale = 0.0f;
    float samples[kFrames];
    float bins[2 * (kBins + 1)]; // kBins + 1 complex values, as kiss_fft_cpx
};
