#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Straight (not premultiplied) colour with alpha, components 0..1.
struct Colour {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Colour Rgb(float r, float g, float b)
{
    return {r, g, b, 1};
}

inline float Clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

inline float Mix(float a, float b, float t)
{
    return a + (b - a) * t;
}

inline Colour Mix(Colour a, Colour b, float t)
{
    return {Mix(a.r, b.r, t), Mix(a.g, b.g, t), Mix(a.b, b.b, t), Mix(a.a, b.a, t)};
}

inline Colour Scale(Colour c, float k)
{
    return {c.r * k, c.g * k, c.b * k, c.a};
}

inline float SmoothStep(float e0, float e1, float x)
{
    const float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Paints src over dst with the given coverage (0..1).
Colour Over(Colour dst, Colour src, float coverage = 1.0f);

// An RGBA picture, rows from the top.
class Canvas {
  public:
    Canvas(int w, int h, Colour fill = {});

    Colour &At(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
    const Colour &At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Bilinear lookup with clamped edges; u, v in pixels.
    Colour Sample(float u, float v) const;

    // 8-bit rows, 3 or 4 channels, rounded and clamped.
    std::vector<uint8_t> Bytes(int channels) const;

    int width;
    int height;
    std::vector<Colour> pixels;
};

// Fills every pixel with the average of n x n samples of shade(u, v), where
// u, v run over 0..1 from the top-left corner: edges come out anti-aliased.
Canvas Render(int w, int h, int n, const std::function<Colour(float u, float v)> &shade);

// Deterministic generator (xorshift64*), so every run makes the same media.
class Rng {
  public:
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t Next()
    {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return state * 0x2545F4914F6CDD1Dull;
    }
    float Uniform() { return static_cast<float>(Next() >> 40) / 16777216.0f; } // [0, 1)
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

  private:
    uint64_t state;
};

// Value noise on a lattice that repeats every `period` cells (0: no repeat), in -1..1.
float ValueNoise(float x, float y, int period, uint32_t seed);
// Sum of octaves of ValueNoise, each twice the frequency and half the weight.
float Fbm(float x, float y, int octaves, int period, uint32_t seed);
// Three-dimensional value noise in -1..1.
float ValueNoise3(float x, float y, float z, uint32_t seed);
float Fbm3(float x, float y, float z, int octaves, uint32_t seed);

// Hue 0..1, saturation and value 0..1.
Colour Hsv(float h, float s, float v);

constexpr float kPi = 3.14159265358979f;
