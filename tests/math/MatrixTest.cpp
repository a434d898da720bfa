#include "math/Mat4.h"

#include <gtest/gtest.h>

namespace {

using Math::Mat3;
using Math::Mat4;
using Math::Vec3f;

void ExpectNear(const Vec3f& a, const Vec3f& b, float eps = 1e-4f)
{
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
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
