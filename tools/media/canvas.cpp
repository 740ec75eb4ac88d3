#include "canvas.h"

#include <algorithm>

Colour Over(Colour dst, Colour src, float coverage)
{
    const float sa = Clamp01(src.a * coverage);
    if (sa <= 0)
        return dst;
    if (sa >= 1)
        return {src.r, src.g, src.b, 1};
    const float outA = sa + dst.a * (1 - sa);
    if (outA <= 0)
        return {};
    auto channel = [&](float s, float d) { return (s * sa + d * dst.a * (1 - sa)) / outA; };
    return {channel(src.r, dst.r), channel(src.g, dst.g), channel(src.b, dst.b), outA};
}

Canvas::Canvas(int w, int h, Colour fill)
    : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill)
{
}

Colour Canvas::Sample(float u, float v) const
{
    u = std::clamp(u - 0.5f, 0.0f, static_cast<float>(width - 1));
    v = std::clamp(v - 0.5f, 0.0f, static_cast<float>(height - 1));
    const int x0 = static_cast<int>(u), y0 = static_cast<int>(v);
    const int x1 = std::min(x0 + 1, width - 1), y1 = std::min(y0 + 1, height - 1);
    const float fx = u - static_cast<float>(x0), fy = v - static_cast<float>(y0);
    return Mix(Mix(At(x0, y0), At(x1, y0), fx), Mix(At(x0, y1), At(x1, y1), fx), fy);
}

std::vector<uint8_t> Canvas::Bytes(int channels) const
{
    std::vector<uint8_t> out;
    out.reserve(pixels.size() * static_cast<size_t>(channels));
    auto byte = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
    for (const Colour &c : pixels) {
        out.push_back(byte(c.r));
        out.push_back(byte(c.g));
        out.push_back(byte(c.b));
        if (channels == 4)
            out.push_back(byte(c.a));
    }
    return out;
}

Canvas Render(int w, int h, int n, const std::function<Colour(float u, float v)> &shade)
{
    Canvas canvas(w, h);
    const float inv = 1.0f / static_cast<float>(n * n);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // Average premultiplied samples so transparent ones do not darken edges.
            float r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    const float u = (static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / n) / w;
                    const float v = (static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / n) / h;
                    const Colour c = shade(u, v);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            Colour &out = canvas.At(x, y);
            out = a > 0 ? Colour{r / a, g / a, b / a, a * inv} : Colour{};
        }
    return canvas;
}

namespace {
uint32_t Hash(uint32_t x, uint32_t y, uint32_t z, uint32_t seed)
{
    uint32_t h = seed * 0x27d4eb2du ^ x * 0x85ebca6bu ^ y * 0xc2b2ae35u ^ z * 0x165667b1u;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

float Lattice(int x, int y, int z, uint32_t seed)
{
    return static_cast<float>(Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(z),
                                   seed) >>
                              8) /
               8388608.0f -
           1.0f;
}

float Fade(float t)
{
    return t * t * t * (t * (t * 6 - 15) + 10);
}

int Wrap(int i, int period)
{
    if (period <= 0)
        return i;
    i %= period;
    return i < 0 ? i + period : i;
}
} // namespace

float ValueNoise(float x, float y, int period, uint32_t seed)
{
    const float fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = Fade(x - fx), ty = Fade(y - fy);
    auto at = [&](int i, int j) { return Lattice(Wrap(ix + i, period), Wrap(iy + j, period), 0, seed); };
    return Mix(Mix(at(0, 0), at(1, 0), tx), Mix(at(0, 1), at(1, 1), tx), ty);
}

float Fbm(float x, float y, int octaves, int period, uint32_t seed)
{
    float sum = 0, weight = 0.5f;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * ValueNoise(x, y, period, seed + static_cast<uint32_t>(o) * 101u);
        x *= 2;
        y *= 2;
        period *= 2;
        weight *= 0.5f;
    }
    return sum;
}

float ValueNoise3(float x, float y, float z, uint32_t seed)
{
    const float fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
    const float tx = Fade(x - fx), ty = Fade(y - fy), tz = Fade(z - fz);
    auto at = [&](int i, int j, int k) { return Lattice(ix + i, iy + j, iz + k, seed); };
    const float a = Mix(Mix(at(0, 0, 0), at(1, 0, 0), tx), Mix(at(0, 1, 0), at(1, 1, 0), tx), ty);
    const float b = Mix(Mix(at(0, 0, 1), at(1, 0, 1), tx), Mix(at(0, 1, 1), at(1, 1, 1), tx), ty);
    return Mix(a, b, tz);
}

float Fbm3(float x, float y, float z, int octaves, uint32_t seed)
{
    float sum = 0, weight = 0.5f;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * ValueNoise3(x, y, z, seed + static_cast<uint32_t>(o) * 101u);
        x *= 2;
        y *= 2;
        z *= 2;
        weight *= 0.5f;
    }
    return sum;
}

Colour Hsv(float h, float s, float v)
{
    h = (h - std::floor(h)) * 6;
    const int i = static_cast<int>(h) % 6;
    const float f = h - std::floor(h);
    const float p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return Rgb(v, t, p);
    case 1: return Rgb(q, v, p);
    case 2: return Rgb(p, v, t);
    case 3: return Rgb(p, q, v);
    case 4: return Rgb(t, p, v);
    default: return Rgb(v, p, q);
    }
}
