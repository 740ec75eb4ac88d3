#include "synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

double NoteHz(double midi)
{
    const double e6 = 30.0 * kSampleRate / 1024.0;
    return e6 * std::pow(2.0, (midi - 88.0) / 12.0);
}

void Svf::Set(double cutoffHz, double resonance)
{
    cutoffHz = std::clamp(cutoffHz, 20.0, kSampleRate * 0.45);
    const double g = std::tan(M_PI * cutoffHz / kSampleRate);
    k = 2.0 - 1.9 * std::clamp(resonance, 0.0, 1.0);
    a1 = 1 / (1 + g * (g + k));
    a2 = g * a1;
    a3 = g * a2;
}

void Svf::Run(float in)
{
    const double v3 = in - ic2;
    const double v1 = a1 * ic1 + a2 * v3;
    const double v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2 * v1 - ic1;
    ic2 = 2 * v2 - ic2;
    low = static_cast<float>(v2);
    band = static_cast<float>(v1);
    high = static_cast<float>(in - k * v1 - v2);
}

namespace {
double Blep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}
} // namespace

double Oscillator::Advance(double hz)
{
    const double p = phase;
    phase += hz / kSampleRate;
    phase -= std::floor(phase);
    return p;
}

float Oscillator::Saw(double hz)
{
    const double dt = hz / kSampleRate;
    const double p = Advance(hz);
    return static_cast<float>(2 * p - 1 - Blep(p, dt));
}

float Oscillator::Pulse(double hz, double width)
{
    const double dt = hz / kSampleRate;
    const double p = Advance(hz);
    double v = p < width ? 1 : -1;
    v += Blep(p, dt);
    double q = p + 1 - width;
    q -= std::floor(q);
    v -= Blep(q, dt);
    return static_cast<float>(v);
}

float Oscillator::Sine(double hz)
{
    // One period in a table, read with linear interpolation: far quieter errors
    // than the encoder's, at a fraction of the cost of sin().
    constexpr int size = 4096;
    static const std::vector<float> table = [] {
        std::vector<float> t(size + 1);
        for (int i = 0; i <= size; ++i)
            t[static_cast<size_t>(i)] = static_cast<float>(std::sin(2 * M_PI * i / size));
        return t;
    }();
    const double x = Advance(hz) * size;
    const size_t i = static_cast<size_t>(x);
    const float f = static_cast<float>(x - static_cast<double>(i));
    return table[i] + (table[i + 1] - table[i]) * f;
}

float Oscillator::Triangle(double hz)
{
    const double p = Advance(hz);
    return static_cast<float>(4 * std::abs(p - 0.5) - 1);
}

float Adsr(double t, double held, double attack, double decay, double sustain, double release)
{
    auto level = [&](double x) {
        if (x < 0)
            return 0.0;
        if (x < attack)
            return x / attack;
        x -= attack;
        return sustain + (1 - sustain) * std::exp(-x / std::max(decay, 1e-4));
    };
    if (t < held)
        return static_cast<float>(level(t));
    const double atRelease = level(held);
    return static_cast<float>(atRelease * std::exp(-(t - held) / std::max(release, 1e-4)));
}
