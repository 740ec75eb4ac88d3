// The slime's lag and twist, on a hand-made rest shape.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>
#include <vector>

#include "assets/mesh.h"
#include "scenes/slime.h"

namespace {

constexpr float kQuarterTurn = std::numbers::pi_v<float> / 2.0f;

// A rest shape and a mesh to twist, one vertex per given position.
struct SlimeFixture {
    explicit SlimeFixture(const std::vector<Vec3> &rest)
        : restMesh(static_cast<int>(rest.size()), 0), mesh(static_cast<int>(rest.size()), 0),
          radius(rest.size(), 1.0f), offset(rest.size(), Vec3{0, 0, 0})
    {
        for (size_t i = 0; i < rest.size(); ++i) {
            restMesh.positions[3 * i] = rest[i].x;
            restMesh.positions[3 * i + 1] = rest[i].y;
            restMesh.positions[3 * i + 2] = rest[i].z;
            mesh.positions[3 * i] = mesh.positions[3 * i + 1] = mesh.positions[3 * i + 2] = -99.0f;
        }
    }
    Vec3 Vertex(size_t i) const
    {
        return {mesh.positions[3 * i], mesh.positions[3 * i + 1], mesh.positions[3 * i + 2]};
    }
    void Twist(Vec3 target, float d) { TwistSlime(restMesh, mesh, radius, offset, target, d); }

    SubMesh restMesh;
    SubMesh mesh;
    std::vector<float> radius;
    std::vector<Vec3> offset;
};

struct LagCase {
    const char *name;
    float radius;
    float d;
    Vec3 start;
    Vec3 target;
    Vec3 expected;
};

void PrintTo(const LagCase &c, std::ostream *os)
{
    *os << c.name;
}

class SlimeLag : public ::testing::TestWithParam<LagCase> {};

TEST_P(SlimeLag, ClosesTheFractionOfTheGap)
{
    const LagCase &c = GetParam();
    SlimeFixture slime({{3, 4, 5}});
    slime.radius[0] = c.radius;
    slime.offset[0] = c.start;
    slime.Twist(c.target, c.d);
    EXPECT_FLOAT_EQ(slime.offset[0].x, c.expected.x);
    EXPECT_FLOAT_EQ(slime.offset[0].y, c.expected.y);
    EXPECT_FLOAT_EQ(slime.offset[0].z, c.expected.z);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlimeLag,
    ::testing::Values(
        // A frame as long as the lag lands exactly on the target.
        LagCase{"RadiusEqualsDelta", 0.16f, 0.16f, {0.3f, -2, 7}, {1, 2, -3}, {1, 2, -3}},
        LagCase{"QuarterOfTheWay", 4, 1, {0, 4, -8}, {4, 0, 8}, {1, 3, -4}},
        LagCase{"NoTimeNoMove", 4, 0, {1, 2, 3}, {9, 9, 9}, {1, 2, 3}},
        // A stall far longer than the lag must not overshoot or swing out.
        LagCase{"StallStopsAtTarget", 4, 100, {0, 0, 0}, {2, -3, 1}, {2, -3, 1}},
        LagCase{"StallJustPastTheLag", 4, 4.5f, {-1, -1, -1}, {1, 1, 1}, {1, 1, 1}},
        // The vertex at the centre has no lag: no division by zero.
        LagCase{"ZeroRadius", 0, 0.2f, {0, 0, 0}, {0.5f, 0.25f, -1}, {0.5f, 0.25f, -1}},
        LagCase{"ZeroRadiusNoTime", 0, 0, {0, 0, 0}, {0.5f, 0.25f, -1}, {0.5f, 0.25f, -1}}),
    [](const auto &param) { return param.param.name; });

struct TwistCase {
    const char *name;
    Vec3 rest;
    Vec3 angles;
    Vec3 expected;
};

void PrintTo(const TwistCase &c, std::ostream *os)
{
    *os << c.name;
}

class SlimeTwist : public ::testing::TestWithParam<TwistCase> {};

// Turned about X, then Y, then Z, with the helpers' own senses of turning;
// every case gives another vertex under any other order.
TEST_P(SlimeTwist, TurnsXThenYThenZ)
{
    const TwistCase &c = GetParam();
    SlimeFixture slime({c.rest});
    slime.radius[0] = 1.0f;
    slime.Twist(c.angles, 1.0f); // lands on the angles in one frame
    const Vec3 v = slime.Vertex(0);
    EXPECT_NEAR(v.x, c.expected.x, 1e-5f);
    EXPECT_NEAR(v.y, c.expected.y, 1e-5f);
    EXPECT_NEAR(v.z, c.expected.z, 1e-5f);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SlimeTwist,
    ::testing::Values(
        // X: (1,0,0) stays; Y: to (0,0,1); Z keeps it. Z first would give (0,0,-1).
        TwistCase{"AlongX", {1, 0, 0}, {kQuarterTurn, kQuarterTurn, kQuarterTurn}, {0, 0, 1}},
        // X: to (0,0,1); Y: to (-1,0,0); Z: to (0,1,0). X, Z, Y would give (-1,0,0).
        TwistCase{"AlongY", {0, 1, 0}, {kQuarterTurn, kQuarterTurn, kQuarterTurn}, {0, 1, 0}},
        // Y alone turns clockwise seen from +Y: (1,0,0) to (0,0,1).
        TwistCase{"YClockwise", {1, 0, 0}, {0, kQuarterTurn, 0}, {0, 0, 1}},
        // Z alone turns clockwise seen from +Z: (1,0,0) to (0,-1,0).
        TwistCase{"ZClockwise", {1, 0, 0}, {0, 0, kQuarterTurn}, {0, -1, 0}},
        TwistCase{"Untouched", {2, -3, 5}, {0, 0, 0}, {2, -3, 5}}),
    [](const auto &param) { return param.param.name; });

TEST(Slime, TwistsFromTheRestShapeSoNothingAccumulates)
{
    SlimeFixture slime({{0, 1, 0}, {4, 0, 0}});
    for (int frame = 0; frame < 50; ++frame)
        slime.Twist({0.7f, -0.2f, 0.4f}, 1.0f);
    const Vec3 once = slime.Vertex(1);
    slime.Twist({0.7f, -0.2f, 0.4f}, 1.0f);
    const Vec3 twice = slime.Vertex(1);
    EXPECT_FLOAT_EQ(once.x, twice.x);
    EXPECT_FLOAT_EQ(once.y, twice.y);
    EXPECT_FLOAT_EQ(once.z, twice.z);
    EXPECT_NEAR(std::hypot(twice.x, twice.y, twice.z), 4.0f, 1e-5f);
}

// Arrays shorter than the mesh (or the other way round) only cover the
// vertices all of them have; the rest keep their positions.
TEST(Slime, WorksOnTheVerticesEveryArrayHas)
{
    SlimeFixture slime({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    slime.radius.resize(2);
    slime.offset.resize(1);
    slime.Twist({0, 0, kQuarterTurn}, 1.0f);
    EXPECT_NEAR(slime.Vertex(0).y, -1.0f, 1e-6f);
    EXPECT_EQ(slime.Vertex(1).x, -99.0f);
    EXPECT_EQ(slime.Vertex(2).z, -99.0f);
}

TEST(Slime, TargetSwingsSlowlyFromRest)
{
    const Vec3 rest = SlimeTarget(0.0f);
    EXPECT_EQ(rest.x, 0.0f);
    EXPECT_EQ(rest.y, 0.0f);
    EXPECT_EQ(rest.z, 0.0f);
    const float p = 2.5f;
    const Vec3 t = SlimeTarget(p);
    EXPECT_FLOAT_EQ(t.x, static_cast<float>(13.0 * std::sin(0.4 * p)));
    EXPECT_FLOAT_EQ(t.y, static_cast<float>(13.0 * std::sin(0.2 * p)));
    EXPECT_FLOAT_EQ(t.z, static_cast<float>(13.0 * std::sin(0.32 * p)));
}

} // namespace
