#include "config/CVars.h"
#include "world/Viewer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Vec = Math::Vec3f;

// Depth of a view-space point after projection and divide, -1 at near, 1 at far.
float NdcDepth(const Math::Mat4& projection, float distance)
{
    return projection.Project(Vec(0, 0, -distance)).z;
}

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override { saved = r_GL_DepthClamp.value; }
    void TearDown() override { r_GL_DepthClamp.value = saved; }
    bool saved = true;
};

TEST_F(ViewerTest, ClampsParameters)
{
    Korvo::Viewer viewer;
    viewer.SetProjection(1.0f, 1.5f, 4.0f, 4096.0f);
    EXPECT_EQ(viewer.GetFieldOfView(), 2.0f);
    viewer.SetProjection(150.0f, 1.5f, 4.0f, 4096.0f);
    EXPECT_EQ(viewer.GetFieldOfView(), 120.0f);

    // An empty or inverted depth range falls back to the default planes.
    for (float far : {10.0f, 5.0f}) {
        viewer.SetProjection(60.0f, 1.0f, 10.0f, far);
        EXPECT_EQ(viewer.GetNear(), 4.0f);
        EXPECT_EQ(viewer.GetFar(), 4096.0f);
    }
    viewer.SetProjection(60.0f, 1.0f, 0.001f, 100000.0f);
    EXPECT_FLOAT_EQ(viewer.GetNear(), 0.1f);
    EXPECT_EQ(viewer.GetFar(), 16384.0f);
    // Both ends past the farthest far plane: a depth range is left, with a projection that
    // maps the near plane in front of the far one.
    r_GL_DepthClamp.value = true;
    viewer.SetProjection(60.0f, 1.0f, 20000.0f, 30000.0f);
    EXPECT_EQ(viewer.GetFar(), 16384.0f);
    EXPECT_LT(viewer.GetNear(), viewer.GetFar());
    const Math::Mat4& range = viewer.GetProjectionMatrix();
    EXPECT_NEAR(NdcDepth(range, viewer.GetNear()), -1.0f, 1e-4f);
    EXPECT_NEAR(NdcDepth(range, viewer.GetFar()), 1.0f, 1e-4f);
}

TEST_F(ViewerTest, FiniteOrInfiniteFarPlane)
{
    Korvo::Viewer viewer;
    r_GL_DepthClamp.value = true;
    viewer.SetProjection(60.0f, 4.0f / 3.0f, 4.0f, 4096.0f);
    const Math::Mat4& finite = viewer.GetProjectionMatrix();
    EXPECT_NEAR(NdcDepth(finite, 4.0f), -1.0f, 1e-5f);
    EXPECT_NEAR(NdcDepth(finite, 4096.0f), 1.0f, 1e-4f);
    EXPECT_GT(NdcDepth(finite, 8000.0f), 1.0f);
    // The vertical field of view: a point on the top edge of the picture.
    const float halfHeight = std::tan(30.0f * float(M_PI) / 180.0f);
    EXPECT_NEAR(finite.Project(Vec(0, halfHeight * 10, -10)).y, 1.0f, 1e-5f);

    r_GL_DepthClamp.value = false;
    viewer.SetProjection(60.0f, 4.0f / 3.0f, 4.0f, 4096.0f);
    const Math::Mat4& infinite = viewer.GetProjectionMatrix();
    EXPECT_NEAR(NdcDepth(infinite, 4.0f), -1.0f, 1e-5f);
    // Far beyond the requested far plane, and at infinity itself (w = 0), points stay
    // inside the depth range.
    EXPECT_LT(NdcDepth(infinite, 1e6f), 1.0f);
    const float zClip = infinite.m[10] * -1.0f;   // direction (0, 0, -1, 0)
    const float wClip = infinite.m[11] * -1.0f;
    EXPECT_LT(zClip / wClip, 1.0f);
}

TEST_F(ViewerTest, LookAtAimsAtTheTarget)
{
    Korvo::Viewer viewer;
    const Vec eye(0, 155, 185), target(0, 65, 20);
    viewer.LookAt(eye, target, Vec(0, 1, 0));
    const Math::Mat4& view = viewer.GetViewMatrix();

    // The target lies straight ahead on the negative z axis.
    const Vec t = view.TransformPoint(target);
    EXPECT_NEAR(t.x, 0.0f, 1e-3f);
    EXPECT_NEAR(t.y, 0.0f, 1e-3f);
    EXPECT_NEAR(t.z, -(target - eye).Length(), 1e-3f);
    // World up stays up on the picture; the lighting reads the eye as the viewer's position.
    EXPECT_GT(view.TransformPoint(target + Vec(0, 10, 0)).y, 0.0f);
    EXPECT_EQ(viewer.GetPosition(), eye);
}

TEST_F(ViewerTest, ShortRangeAndAspectShareTheFieldOfView)
{
    Korvo::Viewer viewer;
    for (bool clamp : {true, false}) {
        r_GL_DepthClamp.value = clamp;
        viewer.SetProjection(50.0f, 2.0f, 4.0f, 4096.0f);
        const Math::Mat4& projection = viewer.GetProjectionMatrix();
        const Math::Mat4& shortRange = viewer.GetShortRangeProjectionMatrix();
        // The short range ends at its own far plane, from the same near plane.
        EXPECT_NEAR(NdcDepth(shortRange, 4.0f), -1.0f, 1e-5f);
        EXPECT_NEAR(NdcDepth(shortRange, Korvo::Viewer::kShortRangeFar), 1.0f, 1e-5f);
        // A point on the picture's right edge, the aspect times as far out as its top edge,
        // lands on the edge of both.
        const float halfHeight = std::tan(25.0f * float(M_PI) / 180.0f);
        const Vec corner(2.0f * halfHeight * 10, halfHeight * 10, -10);
        for (const Math::Mat4* m : {&projection, &shortRange}) {
            EXPECT_NEAR(m->Project(corner).x, 1.0f, 1e-5f) << clamp;
            EXPECT_NEAR(m->Project(corner).y, 1.0f, 1e-5f) << clamp;
        }
        EXPECT_EQ(viewer.GetAspect(), 2.0f);
    }
}

TEST_F(ViewerTest, TheViewersPlacementIsTheInverseOfItsView)
{
    Korvo::Viewer viewer;
    const Vec eye(30, -12, 7), target(-5, 3, 40);
    viewer.LookAt(eye, target, Vec(0, 1, 0));
    const Math::Mat4& view = viewer.GetViewMatrix();

    // Drawn as an entity (the viewing volume of a camera seen from another), the viewer
    // sits at the eye, turned so that its -z axis points at the target.
    const Math::Mat4 placement = viewer.GetModelMatrix();
    const Math::Mat4 product = placement * view;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(product.m[i], Math::Mat4().m[i], 1e-5f) << "element " << i;
    const Vec ahead = placement.TransformPoint(Vec(0, 0, -(target - eye).Length()));
    EXPECT_LT((ahead - target).Length(), 1e-3f);
    // Its axes, the orientation's rows, are orthonormal and right-handed.
    const Math::Mat3& o = viewer.Orientation;
    EXPECT_NEAR(Math::Dot(o.Row(0), o.Row(1)), 0.0f, 1e-5f);
    EXPECT_NEAR(o.Row(2).Length(), 1.0f, 1e-5f);
    EXPECT_LT((Math::Cross(o.Row(0), o.Row(1)) - o.Row(2)).Length(), 1e-5f);
}

} // namespace
