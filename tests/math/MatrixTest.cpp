#include "math/Mat4.h"
#include "tests/support/NearVectors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Math::Mat3;
using Math::Mat4;
using Math::Vec3f;

// Matrices chain several products: their points may stray further.
void ExpectNear(const Vec3f& a, const Vec3f& b, float eps = 1e-4f)
{
    Test::ExpectNear(a, b, eps);
}

void ExpectIdentity(const Mat4& m, float eps = 1e-5f)
{
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(m.m[i], Mat4().m[i], eps) << "element " << i;
}

} // namespace

TEST(Mat4, StorageIsColumnMajor)
{
    const Mat4 t = Mat4::Translation({1, 2, 3});
    EXPECT_EQ(t(1, 3), 2);
    ExpectNear(t.TransformVector({1, 1, 1}), {1, 1, 1});
    // Products apply right to left, as on GL's matrix stack.
    ExpectNear((t * Mat4::Scale({2, 2, 2})).TransformPoint({1, 0, 0}), {3, 2, 3});
    ExpectNear((Mat4::RotationZ(1.5707963f) * Mat4()).TransformPoint({1, 0, 0}), {0, 1, 0});
}

TEST(Mat4, InversesUndoTheTransform)
{
    const Mat4 rigid = Mat4::Translation({4, -2, 7}) * Mat4::RotationY(0.7f) *
                       Mat4::RotationX(-1.1f);
    ExpectIdentity(rigid * rigid.Inverse());
    ExpectIdentity(rigid.InverseRigid() * rigid);
    const Mat4 general = Mat4::Perspective(60, 4.0f / 3, 0.5f, 100) * rigid *
                         Mat4::Scale({2, 0.5f, 3});
    ExpectIdentity(general.Inverse() * general, 1e-4f);
    ExpectIdentity(Mat4::Scale({0, 1, 1}).Inverse());  // singular: identity
}

TEST(Mat4, LookAtPutsTheEyeAtTheOriginLookingDownMinusZ)
{
    const Vec3f eye{3, 4, 5}, centre{-1, 2, 0};
    const Mat4 view = Mat4::LookAt(eye, centre, {0, 1, 0});
    ExpectNear(view.TransformPoint(eye), {0, 0, 0});
    ExpectNear(view.TransformPoint(centre), {0, 0, -(centre - eye).Length()});
    // Up stays up.
    EXPECT_GT(view.TransformVector({0, 1, 0}).y, 0);
}

TEST(Mat4, PerspectiveMapsTheDepthRange)
{
    const Mat4 p = Mat4::Perspective(90, 2, 1, 10);
    EXPECT_NEAR(p.Project({0, 0, -1}).z, -1, 1e-5f);
    EXPECT_NEAR(p.Project({0, 0, -10}).z, 1, 1e-5f);
    ExpectNear(p.Project({2, 1, -1}), {1, 1, -1});  // corner of the near plane at 90 degrees

    const Mat4 inf = Mat4::PerspectiveInfinite(90, 1, 1, 1e-6f);
    EXPECT_NEAR(inf.Project({0, 0, -1}).z, -1, 1e-5f);
    const float far = inf.Project({0, 0, -1e6f}).z;
    EXPECT_LT(far, 1.0f);
    EXPECT_GT(far, 0.99f);
}

TEST(Mat4, ModelMatrixTakesTheOrientationInStorageOrder)
{
    const Mat3 o = Mat3::FromRows({0, 1, 0}, {-1, 0, 0}, {0, 0, 1});
    const Mat4 m = Mat4::FromOrientationPosition(o, {5, 6, 7});
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m.m[4 * i + j], o.m[3 * i + j]);
    EXPECT_EQ(m.m[15], 1);
    EXPECT_EQ(m.m[3], 0);
    ExpectNear(m.TransformPoint({0, 0, 0}), {5, 6, 7});
}

TEST(Mat4, RotationsTurnCounterclockwiseAboutTheirAxes)
{
    const float quarter = 1.5707963f;
    // Looking down each axis towards the origin, a positive angle turns the next axis into
    // the one after it: y into z about x, z into x about y, x into y about z.
    ExpectNear(Mat4::RotationX(quarter).TransformPoint({0, 1, 0}), {0, 0, 1});
    ExpectNear(Mat4::RotationY(quarter).TransformPoint({0, 0, 1}), {1, 0, 0});
    ExpectNear(Mat4::RotationZ(quarter).TransformPoint({1, 0, 0}), {0, 1, 0});
    ExpectNear(Mat4::RotationX(quarter).TransformPoint({1, 0, 0}), {1, 0, 0});

    // Opposite angles undo each other, and a rigid inverse is the general one.
    const Mat4 r = Mat4::RotationY(0.4f) * Mat4::RotationZ(-1.3f) * Mat4::RotationX(2.1f);
    ExpectIdentity(Mat4::RotationY(-0.9f) * Mat4::RotationY(0.9f));
    const Mat4 placed = Mat4::Translation({-3, 8, 0.5f}) * r;
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(placed.InverseRigid().m[i], placed.Inverse().m[i], 1e-5f) << "element " << i;
}

TEST(Mat4, InverseOfMirroredAndSmallMatrices)
{
    // A mirror has a negative determinant and is its own inverse.
    const Mat4 mirror = Mat4::Scale({-1, 1, 1});
    const Mat4 inverse = mirror.Inverse();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(inverse.m[i], mirror.m[i]) << "element " << i;
    const Mat4 turned = Mat4::Translation({2, 0, -1}) * Mat4::RotationZ(0.3f) *
                        Mat4::Scale({1, -2, 1});
    ExpectIdentity(turned * turned.Inverse());

    // A tiny but regular matrix is inverted, not taken for a singular one.
    const Mat4 small = Mat4::Scale({1e-3f, 1e-3f, 1e-3f});
    ExpectNear(small.Inverse().TransformPoint({1, 2, 3}), {1000, 2000, 3000}, 1e-1f);
}

TEST(Mat4, OrthoMapsTheBoxToTheUnitCube)
{
    const Mat4 o = Mat4::Ortho(-2, 6, 1, 5, 0.5f, 10);
    ExpectNear(o.Project({-2, 1, -0.5f}), {-1, -1, -1});
    ExpectNear(o.Project({6, 5, -10}), {1, 1, 1});
    ExpectNear(o.Project({2, 3, -5.25f}), {0, 0, 0});
    // No perspective: w stays 1.
    EXPECT_EQ(o.m[15], 1);
    EXPECT_EQ(o.m[11], 0);
    ExpectIdentity(o * o.Inverse());
}

TEST(Mat4, DegenerateInputsGiveFiniteMatrices)
{
    // A point at infinity through a perspective matrix (w = 0) comes back undivided.
    const Mat4 p = Mat4::Perspective(90, 1, 1, 10);
    const Vec3f eyePlane = p.Project({3, 0, 0});
    EXPECT_TRUE(std::isfinite(eyePlane.x));
    EXPECT_NEAR(eyePlane.x, 3, 1e-5f);

    // Looking along the up vector, or at the eye itself: no side direction exists, and the
    // matrix still holds no NaN.
    for (const Vec3f& centre : {Vec3f(1, -5, 2), Vec3f(1, 7, 2), Vec3f(1, 2, 2)}) {
        const Mat4 view = Mat4::LookAt({1, 2, 2}, centre, {0, 1, 0});
        for (int i = 0; i < 16; ++i)
            EXPECT_TRUE(std::isfinite(view.m[i])) << "element " << i;
    }
}
