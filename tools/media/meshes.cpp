#include "meshes.h"

#include "canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>

namespace {
struct P3 {
    double x, y, z;
};

P3 Sub(P3 a, P3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
P3 Cross3(P3 a, P3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot3(P3 a, P3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
P3 Unit(P3 a)
{
    const double l = std::sqrt(Dot3(a, a));
    return {a.x / l, a.y / l, a.z / l};
}

// Unit directions and triangles of a geodesic sphere: an icosahedron whose
// faces are split `frequency` times along each edge. Points on shared edges and
// corners are made once, so the surface is closed with one vertex per position.
struct Sphere {
    std::vector<P3> directions;
    std::vector<uint32_t> indices;
};

std::array<P3, 12> IcosahedronCorners()
{
    const double phi = (1 + std::sqrt(5.0)) / 2;
    return {P3{0, 1, phi}, {0, -1, phi}, {0, 1, -phi}, {0, -1, -phi}, {1, phi, 0},  {-1, phi, 0},
            {1, -phi, 0},  {-1, -phi, 0}, {phi, 0, 1}, {-phi, 0, 1},  {phi, 0, -1}, {-phi, 0, -1}};
}

std::vector<std::array<int, 3>> IcosahedronFaces(const std::array<P3, 12> &corners)
{
    std::vector<std::array<int, 3>> faces;
    auto adjacent = [&](int a, int b) {
        const P3 d = Sub(corners[static_cast<size_t>(a)], corners[static_cast<size_t>(b)]);
        return std::abs(Dot3(d, d) - 4) < 1e-9;
    };
    for (int a = 0; a < 12; ++a)
        for (int b = a + 1; b < 12; ++b)
            for (int c = b + 1; c < 12; ++c)
                if (adjacent(a, b) && adjacent(b, c) && adjacent(a, c)) {
                    const P3 &pa = corners[static_cast<size_t>(a)], &pb = corners[static_cast<size_t>(b)],
                             &pc = corners[static_cast<size_t>(c)];
                    const P3 centre{pa.x + pb.x + pc.x, pa.y + pb.y + pc.y, pa.z + pb.z + pc.z};
                    if (Dot3(Cross3(Sub(pb, pa), Sub(pc, pa)), centre) > 0)
                        faces.push_back({a, b, c});
                    else
                        faces.push_back({a, c, b});
                }
    return faces;
}

Sphere GeodesicSphere(int frequency)
{
    const std::array<P3, 12> corners = IcosahedronCorners();
    Sphere sphere;
    std::map<uint64_t, uint32_t> made;
    auto vertex = [&](const std::array<int, 3> &face, int wb, int wc) {
        const int wa = frequency - wb - wc;
        // A key that does not depend on which face asks: the (corner, weight)
        // pairs with a weight, sorted by corner.
        std::array<std::pair<int, int>, 3> terms{{{face[0], wa}, {face[1], wb}, {face[2], wc}}};
        std::sort(terms.begin(), terms.end());
        uint64_t key = 0;
        P3 sum{0, 0, 0};
        for (auto [corner, weight] : terms) {
            if (weight == 0)
                continue;
            key = key * 4096 + static_cast<uint64_t>(corner) * 256 + static_cast<uint64_t>(weight);
            const P3 &p = corners[static_cast<size_t>(corner)];
            sum = {sum.x + p.x * weight, sum.y + p.y * weight, sum.z + p.z * weight};
        }
        auto [it, inserted] = made.emplace(key, static_cast<uint32_t>(sphere.directions.size()));
        if (inserted)
            sphere.directions.push_back(Unit(sum));
        return it->second;
    };
    for (const auto &face : IcosahedronFaces(corners))
        for (int i = 0; i < frequency; ++i)
            for (int j = 0; i + j < frequency; ++j) {
                const uint32_t a = vertex(face, i, j), b = vertex(face, i + 1, j), c = vertex(face, i, j + 1);
                sphere.indices.insert(sphere.indices.end(), {a, b, c});
                if (i + j + 1 < frequency) {
                    const uint32_t d = vertex(face, i + 1, j + 1);
                    sphere.indices.insert(sphere.indices.end(), {b, d, c});
                }
            }
    return sphere;
}

// Turns every triangle round when the mesh as a whole faces inwards.
void FaceOutwards(EbrObject &object)
{
    if (SignedVolume6(object) < 0)
        for (size_t j = 0; j + 2 < object.indices.size(); j += 3)
            std::swap(object.indices[j + 1], object.indices[j + 2]);
}

// A closed star-shaped mesh: each direction of the geodesic sphere pushed out
// to radius(direction). Texture coordinates are spherical, with the longitude
// folded back at the far meridian so they stay continuous without a seam.
EbrObject RadialMesh(const std::string &name, int frequency, const std::function<double(P3)> &radius,
                     float sRepeat, float tRepeat)
{
    const Sphere sphere = GeodesicSphere(frequency);
    EbrObject object;
    object.name = name;
    for (const P3 &d : sphere.directions) {
        const double r = radius(d);
        object.positions.insert(object.positions.end(),
                                {static_cast<float>(d.x * r), static_cast<float>(d.y * r), static_cast<float>(d.z * r)});
        const double longitude = std::abs(std::atan2(d.z, d.x)) / M_PI;  // 0..1 and back
        const double latitude = 1 - std::acos(std::clamp(d.y, -1.0, 1.0)) / M_PI; // 1 at the top
        object.texCoords.push_back(static_cast<float>(longitude * sRepeat));
        object.texCoords.push_back(static_cast<float>(latitude * tRepeat));
    }
    object.indices = sphere.indices;
    FaceOutwards(object);
    return object;
}

double Angle(P3 a, P3 b)
{
    return std::acos(std::clamp(Dot3(a, b), -1.0, 1.0));
}

// Radius with sharp cones at the given directions.
double Spikes(P3 d, const std::vector<P3> &tips, const std::vector<double> &lengths, double core, double spread)
{
    double r = core;
    for (size_t k = 0; k < tips.size(); ++k) {
        const double a = Angle(d, tips[k]);
        if (a < spread)
            r = std::max(r, core + lengths[k] * std::pow(1 - a / spread, 1.7));
    }
    return r;
}

std::vector<P3> RandomDirections(int count, uint64_t seed)
{
    Rng rng(seed);
    std::vector<P3> out;
    while (static_cast<int>(out.size()) < count) {
        const P3 p{rng.Range(-1, 1), rng.Range(-1, 1), rng.Range(-1, 1)};
        const double l = Dot3(p, p);
        if (l > 0.05 && l <= 1)
            out.push_back(Unit(p));
    }
    return out;
}

// A (3, 4) torus knot tube with a four-pointed star cross-section that twists
// along the knot: four lobes seen from above, closed, no seam in position.
EbrObject TwistedKnot()
{
    constexpr int along = 220, around = 16;
    constexpr double p = 3, q = 4, bigR = 3.0, a = 1.4;
    auto curve = [&](double t) {
        const double r = bigR + a * std::cos(q * t);
        return P3{r * std::cos(p * t), r * std::sin(p * t), a * std::sin(q * t)};
    };
    EbrObject object;
    object.name = "twisty4";
    for (int i = 0; i < along; ++i) {
        const double t = 2 * M_PI * i / along;
        const P3 c = curve(t);
        const P3 tangent = Unit(Sub(curve(t + 1e-4), curve(t - 1e-4)));
        // Frame from the torus core towards the curve, periodic with the knot.
        const P3 core{bigR * std::cos(p * t), bigR * std::sin(p * t), 0};
        P3 n = Sub(c, core);
        const double along_ = Dot3(n, tangent);
        n = Unit({n.x - along_ * tangent.x, n.y - along_ * tangent.y, n.z - along_ * tangent.z});
        const P3 b = Cross3(tangent, n);
        for (int j = 0; j < around; ++j) {
            const double angle = 2 * M_PI * j / around;
            const double rc = 0.58 + 0.24 * std::cos(4 * angle - 6 * t);
            const double cx = std::cos(angle) * rc, cy = std::sin(angle) * rc;
            object.positions.insert(object.positions.end(), {static_cast<float>(c.x + n.x * cx + b.x * cy),
                                                             static_cast<float>(c.y + n.y * cx + b.y * cy),
                                                             static_cast<float>(c.z + n.z * cx + b.z * cy)});
            const double u = static_cast<double>(i) / along, v = static_cast<double>(j) / around;
            object.texCoords.push_back(static_cast<float>(6 * (1 - std::abs(2 * u - 1))));
            object.texCoords.push_back(static_cast<float>(1 - std::abs(2 * v - 1)));
        }
    }
    for (int i = 0; i < along; ++i)
        for (int j = 0; j < around; ++j) {
            const uint32_t i0 = static_cast<uint32_t>(i * around), i1 = static_cast<uint32_t>(((i + 1) % along) * around);
            const uint32_t j0 = static_cast<uint32_t>(j), j1 = static_cast<uint32_t>((j + 1) % around);
            object.indices.insert(object.indices.end(), {i0 + j0, i1 + j0, i1 + j1, i0 + j0, i1 + j1, i0 + j1});
        }
    FaceOutwards(object);
    return object;
}
} // namespace

double SignedVolume6(const EbrObject &object)
{
    double sum = 0;
    auto at = [&](uint32_t k) {
        return P3{object.positions[3 * k], object.positions[3 * k + 1], object.positions[3 * k + 2]};
    };
    for (size_t j = 0; j + 2 < object.indices.size(); j += 3)
        sum += Dot3(at(object.indices[j]), Cross3(at(object.indices[j + 1]), at(object.indices[j + 2])));
    return sum;
}

std::vector<MediaMesh> MakeMeshes()
{
    std::vector<MediaMesh> meshes;
    meshes.push_back({"twisty4.ebr", TwistedKnot()});

    // 42 spikes: the icosahedron's corners and edge midpoints, all vertices of an even-frequency sphere.
    {
        const Sphere tips = GeodesicSphere(2);
        std::vector<double> lengths;
        for (size_t k = 0; k < tips.directions.size(); ++k)
            lengths.push_back(k % 3 == 0 ? 4.0 : 3.6);
        meshes.push_back({"spiky3.ebr", RadialMesh("spiky3", 16, [&](P3 d) { return Spikes(d, tips.directions, lengths, 4.0, 0.25); },
                                                   2, 2)});
    }
    // 32 spikes: 12 long ones at the corners, 20 shorter ones at the face centres.
    {
        const std::array<P3, 12> corners = IcosahedronCorners();
        std::vector<P3> tips;
        std::vector<double> lengths;
        for (const P3 &c : corners) {
            tips.push_back(Unit(c));
            lengths.push_back(2.4);
        }
        for (const auto &f : IcosahedronFaces(corners)) {
            const P3 &a = corners[static_cast<size_t>(f[0])], &b = corners[static_cast<size_t>(f[1])],
                     &c = corners[static_cast<size_t>(f[2])];
            tips.push_back(Unit({a.x + b.x + c.x, a.y + b.y + c.y, a.z + b.z + c.z}));
            lengths.push_back(1.6);
        }
        meshes.push_back({"spiky4.ebr", RadialMesh("spiky4", 18, [&](P3 d) { return Spikes(d, tips, lengths, 2.6, 0.3); },
                                                   2, 2)});
    }
    {
        const std::vector<P3> bumps = RandomDirections(26, 5);
        meshes.push_back({"bump.ebr", RadialMesh("bump", 12,
                                                 [&](P3 d) {
                                                     double r = 1.3;
                                                     for (const P3 &b : bumps)
                                                         r += 0.2 * std::exp(-std::pow(Angle(d, b) / 0.22, 2));
                                                     return std::min(r, 1.55);
                                                 },
                                                 2, 1)});
    }
    meshes.push_back({"bump2.ebr", RadialMesh("bump2", 14,
                                              [](P3 d) {
                                                  const double ridges = std::sin(5 * d.x) * std::sin(5 * d.y) * std::sin(5 * d.z);
                                                  return 1.55 + 0.25 * ridges;
                                              },
                                              2, 1)});
    meshes.push_back({"bump3.ebr", RadialMesh("bump3", 16,
                                              [](P3 d) {
                                                  const double n = Fbm3(static_cast<float>(d.x * 2.2 + 10), static_cast<float>(d.y * 2.2),
                                                                        static_cast<float>(d.z * 2.2), 4, 61);
                                                  return 5.0 * (1 + 0.35 * n);
                                              },
                                              3, 2)});
    meshes.push_back({"hisphere.ebr", RadialMesh("hisphere", 30, [](P3) { return 50.0; }, 4, 2)});
    {
        const std::vector<P3> limbs = {Unit({1, 0.3, 0.2}),  Unit({-0.8, 0.5, 0.3}), Unit({0.1, -1, 0.3}),
                                       Unit({-0.3, 0.1, -1}), Unit({0.4, 0.9, -0.4}), Unit({-0.6, -0.6, 0.6})};
        const double reach[] = {26, 22, 24, 20, 18, 21};
        meshes.push_back({"slimy.ebr", RadialMesh("slimy", 20,
                                                  [&](P3 d) {
                                                      double r = 30 * (1 + 0.25 * Fbm3(static_cast<float>(d.x * 1.8), static_cast<float>(d.y * 1.8),
                                                                                        static_cast<float>(d.z * 1.8 + 4), 3, 83));
                                                      for (size_t k = 0; k < limbs.size(); ++k) {
                                                          const double a = Angle(d, limbs[k]);
                                                          r += reach[k] * std::exp(-std::pow(a / 0.3, 2));
                                                      }
                                                      return std::min(r, 55.0);
                                                  },
                                                  3, 2)});
    }
    return meshes;
}
