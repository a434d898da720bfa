#include "world/ShadowLimits.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Korvo::ShadowLimits;
using Math::Vec3f;

// What Farthest answers for lit surfaces reaching `along` on its axis: a margin past them.
float WithMargin(float along)
{
    return along * 1.01f + 1e-3f;
}

// Limits of a light at the origin reaching 100, with the scene's box from lo to hi.
ShadowLimits SceneBox(const Vec3f& lo, const Vec3f& hi)
{
    ShadowLimits limits;
    limits.Reach = 100.0f;
    limits.HasScene = true;
    for (int i = 0; i < 8; ++i)
        limits.Scene[i] = Vec3f(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z);
    return limits;
}

} // namespace

TEST(ShadowLimits, FarthestTakesTheNearestOfReachViewAndScene)
{
    ShadowLimits limits = SceneBox({-50, -50, -50}, {50, 50, 50});
    limits.Light = Vec3f(10, 0, 0);
    limits.HasScene = false;
    for (const Vec3f& axis : ShadowLimits::Axes)
        EXPECT_FLOAT_EQ(limits.Farthest(axis), WithMargin(100.0f));

    // The scene's box, seen from the light off its centre.
    limits.HasScene = true;
    EXPECT_FLOAT_EQ(limits.Farthest({1, 0, 0}), WithMargin(40.0f));
    EXPECT_FLOAT_EQ(limits.Farthest({-1, 0, 0}), WithMargin(60.0f));
    EXPECT_FLOAT_EQ(limits.Farthest({0, 1, 0}), WithMargin(50.0f));

    // A view from the light's side towards -z: its apex and far corners, which reach less
    // far than the scene along +x and +z and further along -z.
    limits.HasView = true;
    limits.View[0] = Vec3f(0, 0, 30);
    for (int i = 0; i < 4; ++i)
        limits.View[1 + i] = Vec3f(i & 1 ? 20.0f : -20.0f, i & 2 ? 20.0f : -20.0f, -70.0f);
    EXPECT_FLOAT_EQ(limits.Farthest({1, 0, 0}), WithMargin(10.0f));
    EXPECT_FLOAT_EQ(limits.Farthest({0, 0, 1}), WithMargin(30.0f));
    EXPECT_FLOAT_EQ(limits.Farthest({0, 0, -1}), WithMargin(50.0f));
    // Off the axes: the view's corner (20, 20, -70) is the farthest along (0, 0.6, -0.8).
    EXPECT_FLOAT_EQ(limits.Farthest({0, 0.6f, -0.8f}), WithMargin(0.6f * 20 + 0.8f * 70));

    // All lit surfaces on the other side of the light: the answer is negative, so that every
    // box along that axis lies past them.
    limits.Light = Vec3f(0, 0, 40);
    EXPECT_LT(limits.Farthest({0, 0, 1}), 0.0f);
    EXPECT_TRUE(limits.Beyond({-1, -1, 41}, {1, 1, 43}));
}

TEST(ShadowLimits, BeyondOnlyWhatLiesPastTheLitSurfaces)
{
    // A light that lights nothing: every shadow may be left out.
    ShadowLimits dark;
    EXPECT_TRUE(dark.Beyond({-1, -1, -1}, {1, 1, 1}));

    // The light's reach alone.
    ShadowLimits limits;
    limits.Reach = 100.0f;
    EXPECT_TRUE(limits.Beyond({102, -1, -1}, {110, 1, 1}));
    EXPECT_FALSE(limits.Beyond({98, -1, -1}, {106, 1, 1}));
    EXPECT_TRUE(limits.Beyond({-1, -1, -130}, {1, 1, -110}));
    // Around the light, or the light on its surface.
    EXPECT_FALSE(limits.Beyond({-1, -1, -1}, {1, 1, 1}));
    EXPECT_FALSE(limits.Beyond({0, -1, -1}, {2, 1, 1}));

    // Inside the scene's box, nothing is beyond; just past its wall, it is.
    limits = SceneBox({-50, -50, -50}, {50, 50, 50});
    EXPECT_TRUE(limits.Beyond({60, -1, -1}, {70, 1, 1}));
    EXPECT_FALSE(limits.Beyond({45, -1, -1}, {55, 1, 1}));

    // A wide floor just below the light, whose sphere holds the light: it is judged along
    // the way to its nearest point. With every lit surface above the light it lies past
    // them; with the scene reaching down to it, it does not.
    limits = SceneBox({-100, 20, -100}, {100, 60, 100});
    limits.Light = Vec3f(0, 5, 0);
    const Vec3f floorMin(-100, -2, -100), floorMax(100, -1, 100);
    EXPECT_TRUE(limits.Beyond(floorMin, floorMax));
    limits = SceneBox({-100, -2, -100}, {100, 60, 100});
    limits.Light = Vec3f(0, 5, 0);
    EXPECT_FALSE(limits.Beyond(floorMin, floorMax));
}

TEST(ShadowLimits, VolumeEndsAheadOfEveryCornerAndShortOfNone)
{
    Vec3f axis;
    float distance = 0.0f;
    ShadowLimits dark;
    EXPECT_FALSE(dark.VolumeEnd({20, -5, -5}, {30, 5, 5}, axis, distance, true));

    ShadowLimits limits;
    limits.Reach = 100.0f;
    // A small box ahead of the light ends across the way to its centre, at the reach.
    ASSERT_TRUE(limits.VolumeEnd({20, -5, -5}, {30, 5, 5}, axis, distance, false));
    EXPECT_NEAR((axis - Vec3f(1, 0, 0)).Length(), 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(distance, WithMargin(100.0f));

    // No plane will do: a corner close to the light (its rays would meet the plane far out),
    // a corner past the plane, the light inside the box.
    for (bool anyAxis : {false, true}) {
        EXPECT_FALSE(limits.VolumeEnd({5, -1, -1}, {30, 1, 1}, axis, distance, anyAxis));
        EXPECT_FALSE(limits.VolumeEnd({90, -1, -1}, {110, 1, 1}, axis, distance, anyAxis));
        EXPECT_FALSE(limits.VolumeEnd({-1, -1, -1}, {1, 1, 1}, axis, distance, anyAxis));
    }

    // Over boxes all around a light inside a scene: whatever plane is chosen lies at
    // Farthest along a unit axis, with every corner of the box between a tenth of the way
    // and the plane; any axis finds a plane wherever the way to the centre does.
    limits = SceneBox({-60, -30, -80}, {70, 40, 50});
    limits.Light = Vec3f(3, 4, -2);
    int ended = 0;
    for (int x = -3; x <= 3; ++x)
        for (int y = -3; y <= 3; ++y)
            for (int z = -3; z <= 3; ++z) {
                const Vec3f lo(x * 20.0f - 4, y * 12.0f - 8, z * 25.0f - 6);
                const Vec3f hi = lo + Vec3f(10.0f + 5 * (x & 1), 6, 9);
                bool centre = false;
                for (bool anyAxis : {false, true}) {
                    if (!limits.VolumeEnd(lo, hi, axis, distance, anyAxis)) {
                        EXPECT_FALSE(anyAxis && centre) << x << " " << y << " " << z;
                        continue;
                    }
                    centre = centre || !anyAxis;
                    ++ended;
                    EXPECT_NEAR(axis.Length(), 1.0f, 1e-5f);
                    EXPECT_FLOAT_EQ(distance, limits.Farthest(axis));
                    for (int i = 0; i < 8; ++i) {
                        const Vec3f corner(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y,
                                           i & 4 ? hi.z : lo.z);
                        const float along = Math::Dot(corner - limits.Light, axis);
                        EXPECT_GE(along, 0.1f * distance) << x << " " << y << " " << z;
                        EXPECT_LT(along, distance) << x << " " << y << " " << z;
                    }
                }
            }
    // Enough of them end on a plane for the checks above to mean something.
    EXPECT_GT(ended, 50);
}
