#include "render/WedgeScissor.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

using Math::Vec3f;
using Edge = Korvo::IMeshAdjacency::Edge;

constexpr int Width = 640, Height = 480;
constexpr float NearPlane = 1.0f;

struct Window {
    bool InFront;   // past the near plane
    float X, Y;
};

Window Project(const Math::Mat4& toClip, const Vec3f& p)
{
    const float* m = toClip.Data();
    float clip[4];
    for (int k = 0; k < 4; ++k)
        clip[k] = m[k] * p.x + m[4 + k] * p.y + m[8 + k] * p.z + m[12 + k];
    return {clip[3] >= NearPlane, (0.5f + 0.5f * clip[0] / clip[3]) * Width,
            (0.5f + 0.5f * clip[1] / clip[3]) * Height};
}

// A room 100 high and 2 halfWidth wide and deep around the origin, lit to the light's reach.
Korvo::ShadowLimits Room(const Vec3f& light, float halfWidth)
{
    Korvo::ShadowLimits limits;
    limits.Light = light;
    limits.Reach = 300.0f;
    limits.HasScene = true;
    for (int i = 0; i < 8; ++i)
        limits.Scene[i] = Vec3f(i & 1 ? halfWidth : -halfWidth, i & 2 ? 100.0f : 0.0f,
                                i & 4 ? halfWidth : -halfWidth);
    return limits;
}

// Every point that an edge of the batch can shade, seen from the light's sphere: on a ray
// from a point of the sphere (its surface gives the widest) through a point of an edge,
// past the edge, within the room and
// past the near plane, up to `farther` times the distance from the sphere's point to the
// edge's. Returns how many samples the window holds.
int CheckHeld(const Korvo::ShadowLimits& limits, float halfWidth, float radius,
              const Math::Mat4& toClip, const std::vector<Edge>& edges, float farther,
              const int rect[4])
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f), signed1(-1.0f, 1.0f);
    int held = 0;
    for (int i = 0; i < 200000; ++i) {
        const Edge& edge = edges[i % edges.size()];
        const Vec3f x = edge.A + (edge.B - edge.A) * unit(random);
        Vec3f s;
        do
            s = Vec3f(signed1(random), signed1(random), signed1(random));
        while (s.LengthSquared() > 1.0f || s.LengthSquared() < 1e-4f);
        s = Math::Normalize(s);
        const Vec3f p = x + (x - (limits.Light + s * radius)) * (farther * unit(random));
        if (std::fabs(p.x) > halfWidth || p.y < 0.0f || p.y > 100.0f ||
            std::fabs(p.z) > halfWidth ||
            (p - limits.Light).Length() > limits.Reach)
            continue;
        const Window w = Project(toClip, p);
        if (!w.InFront || w.X < 0 || w.X > Width || w.Y < 0 || w.Y > Height)
            continue;
        ++held;
        EXPECT_TRUE(w.X >= rect[0] && w.X <= rect[0] + rect[2] && w.Y >= rect[1] &&
                    w.Y <= rect[1] + rect[3])
            << "(" << p.x << ", " << p.y << ", " << p.z << ") at (" << w.X << ", " << w.Y
            << ") lies outside " << rect[0] << " " << rect[1] << " " << rect[2] << " "
            << rect[3];
        if (::testing::Test::HasFailure())
            break;
    }
    return held;
}

} // namespace

// A lamp over a square caster in a narrow room, seen from above and to the side: every
// lit point the square's edges can shade lies in the rectangle, which is a small part of
// the window.
TEST(WedgeScissor, HoldsEveryLitPointTheEdgesCanShade)
{
    const Math::Mat4 toClip =
        Math::Mat4::Perspective(60.0f, 4.0f / 3.0f, NearPlane, 1000.0f) *
        Math::Mat4::LookAt(Vec3f(0, 60, 120), Vec3f(0, 0, 0), Vec3f(0, 1, 0));
    const Korvo::ShadowLimits limits = Room(Vec3f(0, 80, 0), 20.0f);
    const Korvo::WedgeScissor scissor(limits, 4.0f, toClip, NearPlane, Width, Height);
    const std::vector<Edge> square = {{Vec3f(-10, 30, -10), Vec3f(10, 30, -10)},
                                      {Vec3f(10, 30, -10), Vec3f(10, 30, 10)},
                                      {Vec3f(10, 30, 10), Vec3f(-10, 30, 10)},
                                      {Vec3f(-10, 30, 10), Vec3f(-10, 30, -10)}};
    int rect[4];
    ASSERT_TRUE(scissor.Rectangle(square.data(), 4, rect));
    EXPECT_GT(CheckHeld(limits, 20.0f, 4.0f, toClip, square, 1.0f, rect), 50000);
    EXPECT_LT(rect[2] * rect[3], Width * Height / 4);

    // One edge alone gets a rectangle within the square's.
    int one[4];
    ASSERT_TRUE(scissor.Rectangle(square.data() + 1, 1, one));
    EXPECT_GE(one[0], rect[0]);
    EXPECT_GE(one[1], rect[1]);
    EXPECT_LE(one[0] + one[2], rect[0] + rect[2]);
    EXPECT_LE(one[1] + one[3], rect[1] + rect[3]);
    EXPECT_LT(one[2] * one[3], rect[2] * rect[3]);

    // An edge starting right under the light: along the vertical its pyramid ends at the
    // floor, where its shadow's penumbra is widest, and all of that is held too.
    const std::vector<Edge> under = {{Vec3f(0, 30, 0), Vec3f(10, 30, 0)}};
    ASSERT_TRUE(scissor.Rectangle(under.data(), 1, one));
    EXPECT_GT(CheckHeld(limits, 20.0f, 4.0f, toClip, under, 1.0f, one), 50000);

    // An edge running away from the light at a slant towards the room's corner: a point of
    // its shadow on the wall between the two ends' shadows lies farther out, along either
    // end's axis, than the lit surfaces reach.
    for (const Edge& slant : {Edge{Vec3f(4, 60, 0), Vec3f(18, 36, 0)},
                              Edge{Vec3f(4, 60, -3), Vec3f(18, 50, 10)},
                              Edge{Vec3f(-15, 70, 5), Vec3f(15, 40, -5)}}) {
        ASSERT_TRUE(scissor.Rectangle(&slant, 1, one));
        EXPECT_GT(CheckHeld(limits, 20.0f, 4.0f, toClip, {slant}, 2.0f, one), 20000);
    }

    // An edge so near the light that its cone opens too wide: no rectangle.
    const Edge close = {Vec3f(-1, 77, 0), Vec3f(1, 77, 0)};
    EXPECT_FALSE(scissor.Rectangle(&close, 1, rect));
}

// The eye stands among the shadows: what lies nearer than the near plane is cut away, not
// projected through the eye, and a shadow wholly behind the eye gets an empty rectangle.
TEST(WedgeScissor, CutsAtTheNearPlane)
{
    const Math::Mat4 toClip =
        Math::Mat4::Perspective(60.0f, 4.0f / 3.0f, NearPlane, 1000.0f) *
        Math::Mat4::LookAt(Vec3f(0, 10, 0), Vec3f(0, 10, -1), Vec3f(0, 1, 0));
    // Just over the eye, the light behind and above it: the shadows fall down and ahead,
    // starting from an edge nearer than the near plane.
    const Korvo::ShadowLimits ahead = Room(Vec3f(0, 40, 15), 100.0f);
    const Korvo::WedgeScissor scissor(ahead, 2.0f, toClip, NearPlane, Width, Height);
    const std::vector<Edge> over = {{Vec3f(-3, 12, -0.5f), Vec3f(3, 12, -0.5f)},
                                    {Vec3f(3, 12, -0.5f), Vec3f(3, 12, 0.5f)}};
    int rect[4];
    ASSERT_TRUE(scissor.Rectangle(over.data(), 2, rect));
    EXPECT_GT(CheckHeld(ahead, 100.0f, 2.0f, toClip, over, 0.5f, rect), 3000);
    EXPECT_GT(rect[2] * rect[3], 0);

    // Behind the eye, the light farther ahead: the shadow falls down and back.
    const Korvo::ShadowLimits behind = Room(Vec3f(0, 40, -20), 100.0f);
    const Korvo::WedgeScissor back(behind, 2.0f, toClip, NearPlane, Width, Height);
    const Edge past = {Vec3f(-3, 20, 5), Vec3f(3, 20, 5)};
    ASSERT_TRUE(back.Rectangle(&past, 1, rect));
    EXPECT_EQ(rect[2] * rect[3], 0);
}
