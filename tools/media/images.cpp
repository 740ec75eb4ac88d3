#include "images.h"

#include "words.h"

#include <algorithm>
#include <cmath>

namespace {
struct V3 {
    float x, y, z;
};

V3 Normalise(V3 v)
{
    const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}

float Dot(V3 a, V3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// ---- reflection maps -------------------------------------------------------

struct ProbeLight {
    V3 direction;
    Colour colour;
    float sharpness; // exponent of the glow around the hot core
};

struct ProbeStyle {
    Colour zenith, skyHorizon, groundHorizon, nadir, skyline;
    std::vector<ProbeLight> lights;
    float clouds = 0;      // 0: clear sky
    float floorGrid = 0;   // strength of a tiled floor below the horizon
    bool studio = false;   // softboxes instead of sky features
    uint32_t seed = 1;
};

ProbeStyle Style(const std::string &name)
{
    ProbeStyle s;
    if (name == "blue") {
        s.zenith = Rgb(0.03f, 0.10f, 0.38f);
        s.skyHorizon = Rgb(0.55f, 0.82f, 1.0f);
        s.groundHorizon = Rgb(0.22f, 0.30f, 0.48f);
        s.nadir = Rgb(0.01f, 0.02f, 0.08f);
        s.skyline = Rgb(0.04f, 0.06f, 0.16f);
        s.lights = {{Normalise({0.55f, 0.55f, 0.65f}), Rgb(1.0f, 1.0f, 1.0f), 60},
                    {Normalise({-0.75f, 0.25f, 0.45f}), Rgb(0.5f, 0.9f, 1.0f), 25},
                    {Normalise({0.1f, 0.8f, -0.6f}), Rgb(0.8f, 0.9f, 1.0f), 40}};
        s.floorGrid = 0.5f;
        s.seed = 11;
    } else if (name == "red") {
        s.zenith = Rgb(0.30f, 0.01f, 0.04f);
        s.skyHorizon = Rgb(1.0f, 0.62f, 0.30f);
        s.groundHorizon = Rgb(0.45f, 0.14f, 0.08f);
        s.nadir = Rgb(0.07f, 0.01f, 0.01f);
        s.skyline = Rgb(0.16f, 0.02f, 0.03f);
        s.lights = {{Normalise({-0.5f, 0.6f, 0.62f}), Rgb(1.0f, 0.95f, 0.8f), 60},
                    {Normalise({0.8f, 0.2f, 0.4f}), Rgb(1.0f, 0.5f, 0.2f), 22},
                    {Normalise({0.3f, 0.5f, -0.8f}), Rgb(1.0f, 0.8f, 0.6f), 40}};
        s.floorGrid = 0.5f;
        s.seed = 23;
    } else if (name == "sky") {
        s.zenith = Rgb(0.12f, 0.32f, 0.75f);
        s.skyHorizon = Rgb(0.72f, 0.84f, 0.96f);
        s.groundHorizon = Rgb(0.42f, 0.46f, 0.36f);
        s.nadir = Rgb(0.12f, 0.15f, 0.08f);
        s.skyline = Rgb(0.22f, 0.28f, 0.22f);
        s.lights = {{Normalise({0.4f, 0.7f, 0.6f}), Rgb(1.0f, 0.97f, 0.85f), 80}};
        s.clouds = 1;
        s.seed = 37;
    } else { // neutral studio
        s.zenith = Rgb(0.30f, 0.30f, 0.31f);
        s.skyHorizon = Rgb(0.62f, 0.62f, 0.63f);
        s.groundHorizon = Rgb(0.40f, 0.40f, 0.40f);
        s.nadir = Rgb(0.10f, 0.10f, 0.10f);
        s.skyline = s.groundHorizon;
        s.studio = true;
        s.seed = 41;
    }
    return s;
}

Colour Add(Colour a, Colour b, float k)
{
    return {a.r + b.r * k, a.g + b.g * k, a.b + b.b * k, a.a};
}

Colour ProbeEnvironment(const ProbeStyle &s, V3 d)
{
    const float azimuth = std::atan2(d.x, d.z);
    Colour c;
    if (s.studio) {
        c = d.y >= 0 ? Mix(s.skyHorizon, s.zenith, std::pow(d.y, 0.7f)) : Mix(s.groundHorizon, s.nadir, std::pow(-d.y, 0.5f));
        // Softboxes: bright rounded rectangles in azimuth/elevation.
        const float elevation = std::asin(std::clamp(d.y, -1.0f, 1.0f));
        struct Box {
            float az, el, w, h, k;
        };
        const Box boxes[] = {{0.7f, 0.35f, 0.35f, 0.25f, 1.0f},
                             {-0.9f, 0.3f, 0.28f, 0.35f, 0.9f},
                             {2.6f, 0.5f, 0.5f, 0.15f, 0.8f},
                             {0.0f, 1.2f, 1.2f, 0.12f, 0.7f}};
        for (const Box &b : boxes) {
            float da = std::remainder(azimuth - b.az, 2 * kPi);
            const float edge = std::max(std::abs(da) / b.w, std::abs(elevation - b.el) / b.h);
            c = Add(c, Rgb(1, 1, 1), b.k * (1 - SmoothStep(0.85f, 1.0f, edge)));
            c = Add(c, Rgb(1, 1, 1), 0.15f * b.k * std::exp(-4 * std::max(0.0f, edge - 1)));
        }
        return c;
    }
    if (d.y >= 0) {
        c = Mix(s.skyHorizon, s.zenith, std::pow(d.y, 0.55f));
        if (s.clouds > 0) {
            const float k = 1.0f / (d.y + 0.12f);
            const float n = Fbm(d.x * k * 1.6f + 11, d.z * k * 1.6f + 5, 5, 0, s.seed);
            const float cover = SmoothStep(-0.05f, 0.3f, n) * SmoothStep(0.0f, 0.12f, d.y);
            const Colour cloud = Mix(Rgb(0.98f, 0.98f, 1.0f), Rgb(0.55f, 0.58f, 0.66f), Clamp01(0.5f - n * 1.2f));
            c = Mix(c, cloud, cover * 0.9f);
        }
        // A skyline of hills or towers along the horizon.
        const float height = 0.05f + 0.07f * (Fbm(azimuth * 3.0f, 0.5f, 3, 0, s.seed + 7) + 0.5f);
        if (d.y < height)
            c = Mix(s.skyline, c, SmoothStep(height - 0.01f, height, d.y));
    } else {
        c = Mix(s.groundHorizon, s.nadir, std::pow(-d.y, 0.45f));
        if (s.floorGrid > 0) {
            const float k = 1.0f / -d.y;
            const float gx = d.x * k * 2.0f, gz = d.z * k * 2.0f;
            const float line = std::max(std::abs(std::remainder(gx, 1.0f)), std::abs(std::remainder(gz, 1.0f)));
            const float fade = SmoothStep(0.02f, 0.3f, -d.y);
            c = Mix(c, s.skyHorizon, s.floorGrid * fade * SmoothStep(0.42f, 0.48f, line));
        } else {
            const float n = Fbm(d.x / -d.y * 3, d.z / -d.y * 3, 4, 0, s.seed + 3);
            c = Scale(c, 0.85f + 0.4f * n);
        }
    }
    // Horizon glow.
    c = Add(c, s.skyHorizon, 0.25f * std::exp(-std::abs(d.y) * 25));
    for (const ProbeLight &light : s.lights) {
        const float cosAngle = Dot(d, light.direction);
        c = Add(c, light.colour, 0.6f * std::pow(std::max(0.0f, cosAngle), light.sharpness));
        c = Add(c, light.colour, 2.0f * SmoothStep(0.9975f, 0.9990f, cosAngle));
    }
    return c;
}
} // namespace

Canvas MakeReflectionMap(const std::string &name)
{
    const ProbeStyle style = Style(name);
    // Sphere-map layout: image row 0 is texture t = 0, which the sphere map
    // gives to reflections pointing down, so the ground is at the top rows.
    return Render(256, 256, 2, [&](float u, float v) {
        const float x = 2 * u - 1, y = 2 * v - 1;
        const float r = std::sqrt(x * x + y * y);
        // Inside the ball: the mirror's normal; outside it the angle keeps
        // growing so the picture stays continuous when used with mesh coordinates.
        const float angle = r <= 1 ? std::asin(r) : kPi / 2 + (r - 1) * kPi / 2;
        const float sx = r > 0 ? x / r : 0, sy = r > 0 ? y / r : 0;
        const V3 n{std::sin(angle) * sx, std::sin(angle) * sy, std::cos(angle)};
        const V3 d{2 * n.z * n.x, 2 * n.z * n.y, 2 * n.z * n.z - 1};
        Colour c = ProbeEnvironment(style, Normalise(d));
        // Tone map softly so hot spots stay white without hard clipping.
        auto tone = [](float ch) { return 1 - std::exp(-1.6f * ch); };
        return Rgb(tone(c.r), tone(c.g), tone(c.b));
    });
}

// ---- the ugly pattern --------------------------------------------------------

Canvas MakeUglyPattern()
{
    const Colour palette[] = {Rgb(1.0f, 0.08f, 0.58f), Rgb(0.55f, 1.0f, 0.05f), Rgb(1.0f, 0.50f, 0.0f),
                              Rgb(0.0f, 0.85f, 1.0f), Rgb(1.0f, 0.93f, 0.05f), Rgb(0.50f, 0.08f, 0.95f)};
    const Colour ink = Rgb(0.05f, 0.02f, 0.10f);
    // Eight cells of 64 pixels per side: the tile repeats seamlessly.
    return Render(512, 512, 2, [&](float u, float v) {
        const int i = std::min(7, static_cast<int>(u * 8)), j = std::min(7, static_cast<int>(v * 8));
        const float x = (u * 8 - static_cast<float>(i)) * 2 - 1, y = (v * 8 - static_cast<float>(j)) * 2 - 1;
        const float px = 1.0f / 32; // one pixel in cell units
        Colour c = palette[(i + 2 * j) % 6];
        // Loud diagonal stripes over every cell, period 16 pixels (divides the tile).
        const float stripe = std::remainder((u + v) * 32.0f, 1.0f);
        c = Mix(c, palette[(i + 2 * j + 3) % 6], 0.35f * SmoothStep(0.2f, 0.25f, std::abs(stripe)));
        const float r = std::sqrt(x * x + y * y);
        auto fill = [&](float sd, Colour colour) { c = Over(c, colour, Clamp01(0.5f - sd / px)); };
        switch ((i * 3 + j) % 4) {
        case 0: { // laughing face
            fill(r - 0.8f, ink);
            fill(r - 0.7f, palette[4]);
            fill(std::hypot(x + 0.28f, y + 0.22f) - 0.11f, ink);
            fill(std::hypot(x - 0.28f, y + 0.22f) - 0.11f, ink);
            const float mouth = std::max(std::hypot(x, y - 0.05f) - 0.45f, -(y - 0.12f));
            fill(mouth, ink);
            fill(std::max(std::hypot(x, y - 0.05f) - 0.33f, -(y - 0.18f)), Rgb(0.95f, 0.15f, 0.2f));
            break;
        }
        case 1: { // target rings
            const int ring = static_cast<int>(r / 0.2f);
            if (r < 0.9f)
                c = palette[(ring + i) % 6];
            fill(std::abs(std::remainder(r, 0.2f)) - 0.02f, ink);
            break;
        }
        case 2: { // star
            const float a = std::atan2(y, x) + kPi / 2;
            const float star = r - (0.45f + 0.35f * std::abs(std::cos(a * 2.5f)));
            fill(star + 0.05f, ink);
            fill(star + 0.12f, palette[(i + 2 * j + 2) % 6]);
            break;
        }
        default: { // zigzag
            const float zig = y - 0.3f * std::abs(std::remainder(x * 2, 1.0f)) * 2;
            if (std::abs(std::remainder(zig * 2.5f, 1.0f)) < 0.25f)
                c = ink;
            break;
        }
        }
        // Cell borders.
        const float border = 1 - std::max(std::abs(x), std::abs(y));
        c = Over(c, ink, Clamp01(1.5f - border / px));
        return c;
    });
}

// ---- the portrait ------------------------------------------------------------

namespace {
// Approximate signed distance to an axis-aligned ellipse.
float Ellipse(float x, float y, float cx, float cy, float rx, float ry)
{
    const float dx = (x - cx) / rx, dy = (y - cy) / ry;
    return (std::sqrt(dx * dx + dy * dy) - 1) * std::min(rx, ry);
}

// Paints a shape with a dark ink outline of width line, anti-aliased over px.
Colour Shape(Colour c, float sd, Colour fill, float line, float px, Colour ink = Rgb(0.08f, 0.04f, 0.02f))
{
    c = Over(c, ink, Clamp01(0.5f - sd / px));
    return Over(c, fill, Clamp01(0.5f - (sd + line) / px));
}
} // namespace

Canvas MakePortrait()
{
    const float px = 1.0f / 512;
    const float hx = 0.5f, hy = 0.38f; // centre of the head
    return Render(512, 512, 2, [&](float x, float y) {
        // Background: deep blue with gold rays from the head.
        const float dx = x - hx, dy = y - hy;
        const float r = std::hypot(dx, dy);
        const float a = std::atan2(dy, dx);
        const float rays = 0.5f + 0.5f * std::cos(a * 24);
        Colour c = Mix(Rgb(0.05f, 0.08f, 0.35f), Rgb(0.95f, 0.72f, 0.18f),
                       Clamp01(0.9f - r * 1.2f) * (0.55f + 0.45f * rays));
        c = Scale(c, 1.0f - 0.5f * SmoothStep(0.4f, 0.75f, std::max(std::abs(x - 0.5f), std::abs(y - 0.5f))));
        // Halo: gold disc with rings and a cross of rays.
        const float halo = r - 0.235f;
        c = Shape(c, halo, Rgb(1.0f, 0.82f, 0.25f), 0.006f, px);
        if (halo < 0) {
            const float ring = std::abs(std::remainder(r, 0.03f));
            c = Mix(c, Rgb(0.75f, 0.5f, 0.1f), 0.5f * SmoothStep(0.004f, 0.002f, ring) * SmoothStep(0.15f, 0.17f, r));
            const float cross = std::min(std::abs(dx), std::abs(dy + 0.02f));
            c = Mix(c, Rgb(0.85f, 0.1f, 0.1f), SmoothStep(0.03f, 0.026f, cross) * SmoothStep(0.17f, 0.175f, r));
        }
        // Robe and shoulders.
        const float robe = Ellipse(x, y, 0.5f, 1.06f, 0.46f, 0.5f);
        c = Shape(c, robe, Rgb(0.72f, 0.07f, 0.10f), 0.006f, px);
        if (robe < 0) {
            // A blue mantle over the left shoulder, with a gold hem.
            const float mantle = (y - 0.62f) * 0.8f - (x - 0.5f) * 1.0f - 0.08f;
            const float m = Clamp01(0.5f - (-mantle) / px);
            c = Mix(c, Rgb(0.06f, 0.16f, 0.55f), m);
            c = Mix(c, Rgb(1.0f, 0.8f, 0.2f), SmoothStep(0.008f, 0.004f, std::abs(mantle + 0.01f)));
            // Folds.
            c = Scale(c, 0.85f + 0.15f * std::cos((x * 40 + y * 15)));
        }
        // Hair falling to the shoulders.
        const float hair = std::min(Ellipse(x, y, hx, hy - 0.01f, 0.155f, 0.19f),
                                    std::max(Ellipse(x, y, hx, hy + 0.12f, 0.17f, 0.22f), hy + 0.05f - y));
        c = Shape(c, hair, Rgb(0.30f, 0.16f, 0.07f), 0.005f, px);
        if (hair < 0)
            c = Scale(c, 0.8f + 0.2f * std::cos(std::atan2(y - hy + 0.2f, x - hx) * 70));
        // Neck, face and beard.
        c = Shape(c, Ellipse(x, y, hx, hy + 0.15f, 0.05f, 0.08f), Rgb(0.80f, 0.56f, 0.40f), 0.004f, px);
        const float face = Ellipse(x, y, hx, hy, 0.105f, 0.145f);
        Colour skin = Mix(Rgb(0.96f, 0.77f, 0.58f), Rgb(0.70f, 0.45f, 0.30f), SmoothStep(0.03f, 0.1f, std::abs(x - hx)));
        c = Shape(c, face, skin, 0.004f, px);
        const float beard = std::max(Ellipse(x, y, hx, hy + 0.06f, 0.108f, 0.135f), hy + 0.045f - y -
                                                                                         0.02f * std::cos((x - hx) * 20));
        c = Shape(c, beard, Rgb(0.33f, 0.18f, 0.08f), 0.004f, px);
        if (beard < 0)
            c = Scale(c, 0.85f + 0.15f * std::cos(x * 300 + std::sin(y * 80) * 2));
        // Eyes, brows, nose, mouth.
        for (float side : {-1.0f, 1.0f}) {
            const float ex = hx + side * 0.045f, ey = hy - 0.005f;
            const float eye = Ellipse(x, y, ex, ey, 0.03f, 0.013f);
            c = Shape(c, eye, Rgb(0.97f, 0.95f, 0.9f), 0.003f, px);
            c = Shape(c, std::max(Ellipse(x, y, ex, ey, 0.011f, 0.011f), eye), Rgb(0.25f, 0.14f, 0.06f), 0.0f, px);
            c = Over(c, Rgb(1, 1, 1), Clamp01(0.5f - Ellipse(x, y, ex + 0.004f, ey - 0.004f, 0.003f, 0.003f) / px));
            const float brow = std::abs(Ellipse(x, y, ex, ey + 0.02f, 0.036f, 0.03f)) - 0.003f;
            if (y < ey - 0.022f)
                c = Over(c, Rgb(0.2f, 0.1f, 0.04f), Clamp01(0.5f - brow / px));
        }
        const float nose = std::max(std::abs(x - hx - 0.006f) - 0.003f, std::abs(y - hy - 0.04f) - 0.035f);
        c = Over(c, Rgb(0.55f, 0.32f, 0.2f), Clamp01(0.5f - nose / px) * 0.8f);
        const float mouth = Ellipse(x, y, hx, hy + 0.1f, 0.03f, 0.007f);
        c = Shape(c, mouth, Rgb(0.55f, 0.15f, 0.12f), 0.002f, px);
        // Raking light from the upper left for contrast.
        c = Scale(c, 1.1f - 0.25f * Clamp01(x + y - 0.6f));
        return c;
    });
}

// ---- the closing picture -------------------------------------------------------

Canvas MakeGarbageQueen()
{
    const float px = 1.0f / 512;
    // Collage background: torn scraps of paper in many colours.
    struct Scrap {
        float cx, cy, w, h, angle;
        Colour colour;
        int print; // 0 plain, 1 stripes, 2 dots, 3 newsprint
    };
    std::vector<Scrap> scraps;
    Rng rng(7);
    for (int k = 0; k < 70; ++k)
        scraps.push_back({rng.Uniform(), rng.Uniform(), rng.Range(0.08f, 0.25f), rng.Range(0.06f, 0.2f),
                          rng.Range(-0.6f, 0.6f), Hsv(rng.Uniform(), rng.Range(0.3f, 0.9f), rng.Range(0.45f, 0.95f)),
                          static_cast<int>(rng.Next() % 4)});
    // The crown: junk standing on a band.
    struct Spike {
        float x, top, width;
        Colour colour;
        int kind; // 0 can, 1 bottle, 2 fork
    };
    std::vector<Spike> spikes;
    for (int k = 0; k < 7; ++k) {
        const float x = 0.34f + 0.32f * static_cast<float>(k) / 6;
        spikes.push_back({x, 0.08f + 0.06f * std::abs(static_cast<float>(k) - 3) / 3 + rng.Range(-0.01f, 0.01f),
                          rng.Range(0.028f, 0.04f), Hsv(rng.Uniform(), 0.8f, 0.9f), k % 3});
    }
    Canvas canvas = Render(512, 512, 2, [&](float x, float y) {
        Colour c = Rgb(0.85f, 0.82f, 0.72f);
        for (const Scrap &s : scraps) {
            if (std::abs(x - s.cx) > s.w + s.h || std::abs(y - s.cy) > s.w + s.h)
                continue;
            const float ca = std::cos(s.angle), sa = std::sin(s.angle);
            const float lx = (x - s.cx) * ca + (y - s.cy) * sa, ly = -(x - s.cx) * sa + (y - s.cy) * ca;
            const float rough = 0.006f * ValueNoise(lx * 120, ly * 120, 0, 5);
            const float sd = std::max(std::abs(lx) - s.w / 2, std::abs(ly) - s.h / 2) + rough;
            if (sd > px)
                continue;
            Colour paper = s.colour;
            if (s.print == 1 && std::remainder(lx * 60, 1.0f) > 0)
                paper = Scale(paper, 0.7f);
            if (s.print == 2 && std::hypot(std::remainder(lx * 50, 1.0f), std::remainder(ly * 50, 1.0f)) < 0.3f)
                paper = Mix(paper, Rgb(1, 1, 1), 0.6f);
            if (s.print == 3) {
                paper = Mix(Rgb(0.9f, 0.88f, 0.8f), paper, 0.2f);
                if (std::abs(std::remainder(ly * 90, 1.0f)) < 0.2f && ValueNoise(lx * 60, ly * 90, 0, 9) > -0.2f)
                    paper = Rgb(0.2f, 0.2f, 0.2f);
            }
            c = Over(c, Scale(Rgb(0, 0, 0), 1), 0.25f * Clamp01(0.5f - (sd - 0.004f) / (3 * px)));
            c = Over(c, paper, Clamp01(0.5f - sd / px));
        }
        // Gown: a patchwork of bright tiles with dark seams.
        const float gown = std::max(Ellipse(x, y, 0.5f, 1.05f, 0.42f, 0.5f), 0.55f - y);
        const Colour ink = Rgb(0.06f, 0.04f, 0.06f);
        c = Over(c, ink, Clamp01(0.5f - gown / px));
        if (gown < -0.006f) {
            const int ti = static_cast<int>(std::floor((x + y * 0.3f) * 14)), tj = static_cast<int>(std::floor(y * 14));
            Rng tile(static_cast<uint64_t>(ti * 131 + tj * 7 + 1000));
            Colour t = Hsv(tile.Uniform(), 0.85f, 0.95f);
            const float fx = std::remainder((x + y * 0.3f) * 14, 1.0f), fy = std::remainder(y * 14, 1.0f);
            if (std::max(std::abs(fx), std::abs(fy)) > 0.42f)
                t = ink;
            c = t;
        }
        // Necklace of bottle caps.
        for (int k = 0; k < 9; ++k) {
            const float a = kPi * (0.15f + 0.7f * static_cast<float>(k) / 8);
            const float cx = 0.5f + 0.16f * std::cos(a), cy = 0.52f + 0.09f * std::sin(a);
            const float cap = std::hypot(x - cx, y - cy) - 0.018f;
            c = Shape(c, cap, Rgb(0.85f, 0.85f, 0.8f), 0.004f, px, ink);
            if (cap < -0.01f)
                c = Rgb(0.9f, 0.2f, 0.15f);
        }
        // Neck and face.
        c = Shape(c, Ellipse(x, y, 0.5f, 0.45f, 0.045f, 0.08f), Rgb(0.92f, 0.86f, 0.82f), 0.004f, px, ink);
        const float face = Ellipse(x, y, 0.5f, 0.33f, 0.1f, 0.13f);
        c = Shape(c, face, Rgb(0.96f, 0.90f, 0.86f), 0.005f, px, ink);
        if (face < 0) {
            for (float side : {-1.0f, 1.0f}) {
                const float ex = 0.5f + side * 0.042f, ey = 0.31f;
                c = Shape(c, Ellipse(x, y, ex, ey - 0.012f, 0.03f, 0.02f), Rgb(0.2f, 0.7f, 0.75f), 0.0f, px);
                c = Shape(c, Ellipse(x, y, ex, ey, 0.022f, 0.011f), Rgb(0.98f, 0.98f, 0.95f), 0.003f, px, ink);
                c = Shape(c, Ellipse(x, y, ex, ey, 0.009f, 0.009f), Rgb(0.1f, 0.5f, 0.2f), 0.003f, px, ink);
                c = Over(c, Rgb(1, 0.4f, 0.5f), 0.5f * Clamp01(1 - Ellipse(x, y, ex + side * 0.02f, 0.37f, 0.025f, 0.015f) / 0.02f));
            }
            c = Shape(c, Ellipse(x, y, 0.5f, 0.405f, 0.035f, 0.013f), Rgb(0.85f, 0.05f, 0.2f), 0.002f, px, ink);
            c = Over(c, Rgb(0.5f, 0.3f, 0.3f), Clamp01(0.5f - (std::abs(x - 0.5f) - 0.004f - (y - 0.33f) * 0.1f) / px) *
                                                  (y > 0.32f && y < 0.37f ? 0.6f : 0.0f));
        }
        // Wild hair made of cables.
        const float hairBand = Ellipse(x, y, 0.5f, 0.27f, 0.15f, 0.08f);
        if (hairBand < 0 && y < 0.27f && face > 0)
            c = Mix(Rgb(0.1f, 0.1f, 0.12f), Hsv(std::floor(x * 60) / 60, 0.7f, 0.8f),
                    0.5f + 0.5f * std::cos(x * 380 + std::sin(y * 50) * 3));
        // Crown: a band with junk standing on it.
        const float band = std::max(std::abs(y - 0.215f) - 0.025f, std::abs(x - 0.5f) - 0.17f);
        for (const Spike &s : spikes) {
            float sd;
            if (s.kind == 0) // can
                sd = std::max(std::abs(x - s.x) - s.width / 2, std::max(s.top - y, y - 0.21f));
            else if (s.kind == 1) { // bottle: body and neck
                const float neckTop = s.top, shoulder = s.top + 0.04f;
                const float halfW = y < shoulder ? s.width / 5 : s.width / 2;
                sd = std::max(std::abs(x - s.x) - halfW, std::max(neckTop - y, y - 0.21f));
            } else { // fork: three tines on a handle
                const float tine = std::abs(std::remainder((x - s.x) / (s.width / 2.5f), 1.0f)) * (s.width / 2.5f);
                const float tines = std::max(std::max(tine - 0.003f, std::abs(x - s.x) - s.width / 2), std::max(s.top - y, y - s.top - 0.05f));
                const float stem = std::max(std::abs(x - s.x) - s.width / 2, std::max(s.top + 0.045f - y, y - 0.21f));
                sd = std::min(tines, stem);
            }
            Colour fill = s.colour;
            if (s.kind == 0 && std::abs(y - (s.top + 0.03f)) < 0.012f)
                fill = Rgb(0.95f, 0.95f, 0.95f);
            c = Shape(c, sd, Mix(fill, Rgb(1, 1, 1), 0.3f * Clamp01(1 - std::abs(x - s.x + s.width / 5) / (s.width / 5))),
                      0.004f, px, ink);
        }
        c = Shape(c, band, Rgb(0.95f, 0.75f, 0.15f), 0.004f, px, ink);
        if (band < 0)
            for (int k = 0; k < 5; ++k) {
                const float gem = std::hypot(x - (0.38f + 0.06f * static_cast<float>(k)), y - 0.215f) - 0.012f;
                c = Shape(c, gem, Hsv(0.15f * static_cast<float>(k) + 0.5f, 0.9f, 0.95f), 0.003f, px, ink);
            }
        // A little film grain and a vignette.
        c = Scale(c, 0.94f + 0.06f * ValueNoise(x * 400, y * 400, 0, 3));
        c = Scale(c, 1.0f - 0.35f * SmoothStep(0.3f, 0.6f, std::hypot(x - 0.5f, y - 0.5f)));
        return c;
    });
    // The title, mirrored: the closing scene shows the picture mirrored, so it reads right there.
    const WordStyle style{"DejaVuSans-Bold.ttf", Rgb(1.0f, 0.95f, 0.3f), Rgb(1.0f, 0.45f, 0.1f), Rgb(0.05f, 0.02f, 0.05f)};
    PaintMirroredWord(canvas, "GARBAGE QUEEN", style, 0.15f * 512, 0.78f * 512, 0.7f * 512, 0.07f * 512);
    return canvas;
}

// ---- the screen frames ---------------------------------------------------------

namespace {
// Signed distance (image units) to the inner window: columns 8%-92%, rows 20%-80%,
// negative inside, with rounded corners.
float WindowDistance(float x, float y, float rounding)
{
    const float qx = std::abs(x - 0.5f) - (0.42f - rounding), qy = std::abs(y - 0.5f) - (0.30f - rounding);
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - rounding;
}

Colour FireColour(float heat)
{
    heat = Clamp01(heat);
    if (heat < 0.35f)
        return Mix(Rgb(0.08f, 0.0f, 0.0f), Rgb(0.75f, 0.08f, 0.0f), heat / 0.35f);
    if (heat < 0.7f)
        return Mix(Rgb(0.75f, 0.08f, 0.0f), Rgb(1.0f, 0.6f, 0.05f), (heat - 0.35f) / 0.35f);
    return Mix(Rgb(1.0f, 0.6f, 0.05f), Rgb(1.0f, 0.97f, 0.75f), (heat - 0.7f) / 0.3f);
}
} // namespace

Canvas MakeFrame(const std::string &theme)
{
    const float px = 1.0f / 512;
    return Render(512, 512, 2, [&](float x, float y) {
        const float d = WindowDistance(x, y, theme == "vanlig" ? 0.02f : 0.008f);
        const float inside = Clamp01(0.5f - d / px); // 1 inside the window
        Colour c;
        if (theme == "vanlig") {
            c = Mix(Rgb(0.20f, 0.22f, 0.26f), Rgb(0.08f, 0.09f, 0.11f), y);
            c = Mix(c, Rgb(0.95f, 0.96f, 0.98f), SmoothStep(1.5f * px, 0.5f * px, std::abs(d - 0.006f)));
            c = Mix(c, Rgb(0.1f, 0.75f, 0.85f), SmoothStep(1.5f * px, 0.5f * px, std::abs(d - 0.016f)));
            c.a = 1 - inside;
        } else if (theme == "bass") {
            c = Mix(Rgb(0.16f, 0.16f, 0.18f), Rgb(0.05f, 0.05f, 0.06f), y);
            // Brushed metal.
            c = Scale(c, 0.9f + 0.1f * ValueNoise(x * 4, y * 300, 0, 21));
            // Loudspeakers in the side columns.
            const float colX = x < 0.5f ? 0.04f : 0.96f;
            for (float cy : {0.26f, 0.42f, 0.58f, 0.74f}) {
                const float r = std::hypot(x - colX, y - cy);
                if (r < 0.036f) {
                    const float cone = r / 0.036f;
                    c = Mix(Rgb(0.02f, 0.02f, 0.02f), Rgb(0.35f, 0.35f, 0.38f), cone * cone);
                    c = Mix(c, Rgb(0.7f, 0.7f, 0.75f), SmoothStep(0.004f, 0.001f, std::abs(r - 0.033f)));
                    c = Mix(c, Rgb(0.55f, 0.55f, 0.6f), SmoothStep(0.011f, 0.009f, r));
                }
            }
            // Level bars along the top and bottom bands, next to the window.
            const bool top = y < 0.2f, bottom = y > 0.8f;
            if ((top || bottom) && x > 0.08f && x < 0.92f) {
                const int bar = static_cast<int>((x - 0.08f) / (0.84f / 42));
                const float within = (x - 0.08f) / (0.84f / 42) - static_cast<float>(bar);
                const float level = 0.3f + 0.65f * (0.5f + 0.5f * std::sin(static_cast<float>(bar) * 0.9f) *
                                                               std::cos(static_cast<float>(bar) * 0.37f));
                const float dist = top ? (0.2f - y) / 0.07f : (y - 0.8f) / 0.07f; // 0 at the window edge
                const float segment = std::remainder(dist * 10, 1.0f);
                if (within > 0.15f && within < 0.85f && dist < level && dist < 1 && std::abs(segment) < 0.35f)
                    c = dist < 0.55f ? Rgb(0.2f, 0.95f, 0.3f) : (dist < 0.8f ? Rgb(1.0f, 0.85f, 0.1f) : Rgb(1.0f, 0.2f, 0.1f));
            }
            c = Mix(c, Rgb(0.9f, 0.9f, 0.95f), SmoothStep(1.5f * px, 0.5f * px, std::abs(d - 0.004f)));
            c.a = 1 - inside;
        } else if (theme == "flammekaster") {
            // Flames rise from the bottom and lick in from every edge; tongues reach a little past the window edge.
            const float rise = Fbm(x * 10, y * 5 + 3 * Fbm(x * 4, y * 2, 3, 0, 71), 5, 0, 73);
            const float edgeDistance = std::max(d, -0.05f);
            float heat = 0.75f + 6.0f * edgeDistance + 1.1f * rise + 0.3f * y;
            heat = Clamp01(heat);
            c = FireColour(heat);
            c.a = inside > 0 ? Clamp01((heat - 0.25f) * 3) * (1 - SmoothStep(-0.02f, -0.035f, d)) : 1;
            c.a = std::max(c.a, 1 - inside);
            if (inside > 0 && d < 0)
                c.a = std::min(c.a, Clamp01((heat - 0.25f) * 3));
        } else if (theme == "grid1") {
            c = Mix(Rgb(0.10f, 0.02f, 0.18f), Rgb(0.02f, 0.0f, 0.06f), y);
            const float gx = std::abs(std::remainder(x * 32, 1.0f)), gy = std::abs(std::remainder(y * 32, 1.0f));
            const float line = std::min(gx, gy) * (512.0f / 32);
            c = Mix(c, Rgb(0.1f, 0.9f, 1.0f), std::exp(-line * line * 0.8f) * 0.9f + 0.25f * std::exp(-line * 0.35f));
            const float edge = std::abs(d - 0.006f) / px;
            c = Mix(c, Rgb(1.0f, 0.25f, 0.85f), std::exp(-edge * edge * 0.3f) + 0.3f * std::exp(-edge * 0.2f));
            c.a = 1 - inside;
        } else { // dark: a heavy vignette that fades into the window's edge
            c = Rgb(0.02f, 0.015f, 0.02f);
            c = Scale(c, 1 + 0.5f * ValueNoise(x * 60, y * 60, 0, 99));
            const float fade = 1 - SmoothStep(0.0f, 0.045f, -d);
            c.a = std::max(1 - inside, fade * 0.95f);
            c = Mix(c, Rgb(0.35f, 0.05f, 0.05f), 0.6f * SmoothStep(2 * px, 0.5f * px, std::abs(d - 0.012f)));
        }
        return c;
    });
}

// ---- the whole set ---------------------------------------------------------------

std::vector<MediaImage> MakeImages()
{
    std::vector<MediaImage> images;
    images.push_back({"skyting2.jpg", MakeReflectionMap("sky"), false});
    images.push_back({"blue.jpg", MakeReflectionMap("blue"), false});
    images.push_back({"red.jpg", MakeReflectionMap("red"), false});
    images.push_back({"hahastygt.jpg", MakeUglyPattern(), false});
    images.push_back({"envmap.jpg", MakeReflectionMap("studio"), false});
    images.push_back({"new_jesus.jpg", MakePortrait(), false});
    for (const char *theme : {"dark", "bass", "flammekaster", "grid1", "vanlig"}) {
        const std::string name = std::string(theme) + "ramme.png";
        images.push_back({std::string(theme) == "grid1" ? "gridramme1.png" : name, MakeFrame(theme), true});
    }

    const WordStyle credits{"DejaVuSansCondensed-Bold.ttf", Rgb(0.95f, 0.95f, 1.0f), Rgb(0.55f, 0.65f, 0.85f),
                            Rgb(0.05f, 0.05f, 0.15f)};
    const WordStyle handles{"DejaVuSansMono-Bold.ttf", Rgb(1.0f, 0.92f, 0.2f), Rgb(1.0f, 0.45f, 0.05f),
                            Rgb(0.12f, 0.03f, 0.02f)};
    const WordStyle logo{"DejaVuSans-BoldOblique.ttf", Rgb(0.35f, 0.95f, 1.0f), Rgb(0.10f, 0.25f, 0.85f),
                         Rgb(0.02f, 0.03f, 0.12f)};
    const WordStyle greet{"DejaVuSans-Bold.ttf", Rgb(0.75f, 1.0f, 0.2f), Rgb(0.05f, 0.65f, 0.45f),
                          Rgb(0.02f, 0.10f, 0.06f)};
    const WordStyle title{"DejaVuSans-Bold.ttf", Rgb(1.0f, 0.35f, 0.75f), Rgb(0.85f, 0.10f, 0.25f),
                          Rgb(0.10f, 0.02f, 0.08f)};
    auto word = [&](const char *file, const char *text, const WordStyle &style, float x, float y, float w, float h,
                    float stretch) {
        images.push_back({file, MakeWord(text, style, x * 512, y * 512, w * 512, h * 512, stretch), true});
    };
    word("tekst-code.png", "code", credits, 0.1f, 0.41f, 0.8f, 0.18f, 1.0f);
    word("tekst-music.png", "music", credits, 0.1f, 0.41f, 0.8f, 0.18f, 1.0f);
    word("tekst-graphics.png", "graphics", credits, 0.1f, 0.41f, 0.8f, 0.18f, 1.0f);
    word("tekst-pennick.png", "pennick", handles, 0.1f, 0.42f, 0.8f, 0.16f, 1.0f);
    word("tekst-holvar.png", "holvar", handles, 0.1f, 0.42f, 0.8f, 0.16f, 1.0f);
    word("tekst-traske.png", "traske", handles, 0.1f, 0.42f, 0.8f, 0.16f, 1.0f);
    word("tekst-velmora.png", "velmora", logo, 0.03f, 0.2f, 0.94f, 0.3f, 1.6f);
    word("tekst-dunmere.png", "dunmere", greet, 0.08f, 0.4f, 0.84f, 0.2f, 1.2f);
    word("tekst-scene.png", "scene", greet, 0.02f, 0.45f, 0.96f, 0.2f, 1.6f);
    word("tekst-fenvall.png", "fenvall", greet, 0.02f, 0.45f, 0.96f, 0.2f, 1.6f);
    word("tekst-brakkon.png", "brakkon", greet, 0.02f, 0.45f, 0.96f, 0.2f, 1.6f);
    // Title words: letters about a tenth of the picture high, centred.
    word("tekst-title1.png", "velmora", title, 0.1f, 0.445f, 0.8f, 0.11f, 1.0f);
    word("tekst-title2.png", "presents", title, 0.1f, 0.445f, 0.8f, 0.11f, 1.0f);
    word("tekst-title3.png", "in realtime", title, 0.1f, 0.445f, 0.8f, 0.11f, 1.0f);
    word("tekst-title4.png", "quillane", title, 0.1f, 0.445f, 0.8f, 0.11f, 1.0f);
    images.push_back({"garbage_queen.jpg", MakeGarbageQueen(), false});
    return images;
}
