#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kSampleRate = 44100;

// A stereo mix buffer, one float per sample and channel.
struct StereoBus {
    explicit StereoBus(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    // Adds v at frame i, placed in the stereo field by pan (-1 left .. 1 right).
    void Add(size_t i, float v, float pan)
    {
        if (i >= left.size())
            return;
        left[i] += v * (1 - pan) * 0.5f * 1.41421356f;
        right[i] += v * (1 + pan) * 0.5f * 1.41421356f;
    }
    size_t Frames() const { return left.size(); }
    std::vector<float> left, right;
};

// Frequency of a MIDI note. The set is tuned so that E6 falls exactly on
// entry 30 of a 1024-point spectrum at 44.1 kHz (A4 about 431 Hz).
double NoteHz(double midi);

// Zero-delay-feedback state-variable filter (low, band and high outputs).
class Svf {
  public:
    void Set(double cutoffHz, double resonance); // resonance 0..1
    float Low(float in) { Run(in); return low; }
    float Band(float in) { Run(in); return band; }
    float High(float in) { Run(in); return high; }

  private:
    void Run(float in);
    double a1 = 0, a2 = 0, a3 = 0, k = 2;
    double ic1 = 0, ic2 = 0;
    float low = 0, band = 0, high = 0;
};

// Band-limited sawtooth and pulse by polyBLEP.
class Oscillator {
  public:
    explicit Oscillator(double startPhase = 0) : phase(startPhase) {}
    float Saw(double hz);
    float Pulse(double hz, double width);
    float Sine(double hz);
    float Triangle(double hz);

  private:
    double Advance(double hz);
    double phase;
};

// White noise from a fixed seed.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state(seed ? seed : 1) {}
    float Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<float>(state) / 2147483648.0f - 1.0f;
    }

  private:
    uint32_t state;
};

// Attack-decay-sustain-release level at time t (seconds) of a note held for `held` seconds.
float Adsr(double t, double held, double attack, double decay, double sustain, double release);
