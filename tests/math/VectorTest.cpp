#include "math/Mat3.h"
#include "math/Vec3.h"
#include "tests/support/NearVectors.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Math::Mat3;
using Math::Vec3f;

using Test::ExpectNear;

// A proper rotation about the axis (1, 2, 2) / 3, by the angle's cosine and sine.
Mat3 Rotation(float c, float s)
{
    const Vec3f a(1.0f / 3, 2.0f / 3, 2.0f / 3);
    const float t = 1 - c;
    return Mat3::FromRows({t * a.x * a.x + c, t * a.x * a.y - s * a.z, t * a.x * a.z + s * a.y},
                          {t * a.x * a.y + s * a.z, t * a.y * a.y + c, t * a.y * a.z - s * a.x},
                          {t * a.x * a.z - s * a.y, t * a.y * a.z + s * a.x, t * a.z * a.z + c});
}

} // namespace

TEST(Vec3, NormalizeDividesOnlyWhatNeedsIt)
{
    ExpectNear(Math::Normalize(Vec3f(3, 0, 4)), {0.6f, 0, 0.8f});
    ExpectNear(Math::Normalize(Vec3f(0, -2e-6f, 0)), {0, -1, 0});

    // A zero vector stays zero rather than turning into NaNs, and so does one too short to
    // have a direction.
    EXPECT_EQ(Math::Normalize(Vec3f()), Vec3f());
    EXPECT_EQ(Math::Normalize(Vec3f(1e-7f, 0, 0)), Vec3f(1e-7f, 0, 0));
    // A vector within 1e-6 of unit length comes back bit for bit, so that normalising the
    // same direction every frame does not make it drift.
    const Vec3f unit(0.6f, 0.8f, 0.0f);
    EXPECT_EQ(Math::Normalize(unit), unit);
    const Vec3f almost(0, 0, 1.0000005f);
    EXPECT_EQ(Math::Normalize(almost), almost);
    EXPECT_NEAR(Math::Normalize(Vec3f(0, 0, 1.00001f)).z, 1.0f, 1e-7f);
}

TEST(Vec3, CrossIsRightHandedAndPerpendicular)
{
    EXPECT_EQ(Math::Cross(Vec3f(1, 0, 0), Vec3f(0, 1, 0)), Vec3f(0, 0, 1));
    EXPECT_EQ(Math::Cross(Vec3f(0, 1, 0), Vec3f(0, 0, 1)), Vec3f(1, 0, 0));
    EXPECT_EQ(Math::Cross(Vec3f(0, 0, 1), Vec3f(1, 0, 0)), Vec3f(0, 1, 0));

    const Vec3f a(1, -2, 3), b(-4, 0.5f, 2);
    const Vec3f c = Math::Cross(a, b);
    EXPECT_NEAR(Math::Dot(c, a), 0.0f, 1e-5f);
    EXPECT_NEAR(Math::Dot(c, b), 0.0f, 1e-5f);
    ExpectNear(Math::Cross(b, a), -c);
    // |a x b|^2 = |a|^2 |b|^2 - (a . b)^2
    EXPECT_NEAR(c.LengthSquared(),
                a.LengthSquared() * b.LengthSquared() - Math::Dot(a, b) * Math::Dot(a, b), 1e-3f);
    EXPECT_EQ(Math::Cross(a, a * 2.0f), Vec3f());
}

TEST(Mat3, RowsProductsAndTransposeAgree)
{
    const Mat3 m = Mat3::FromRows({1, 2, 3}, {4, 5, 6}, {7, 8, 10});
    EXPECT_EQ(m(1, 2), 6);
    EXPECT_EQ(m.Row(2), Vec3f(7, 8, 10));
    // A matrix times a vector: the rows' dot products with it.
    EXPECT_EQ(m * Vec3f(1, 0, -1), Vec3f(-2, -2, -3));
    const Mat3 t = m.Transposed();
    EXPECT_EQ(t.Row(0), Vec3f(1, 4, 7));
    EXPECT_EQ(t * Vec3f(0, 1, 0), m.Row(1));

    // Products act on a vector one after the other, right factor first.
    const Mat3 n = Mat3::FromRows({0, 1, 0}, {-1, 0, 2}, {3, 0, 1});
    const Vec3f v(2, -1, 5);
    ExpectNear((m * n) * v, m * (n * v));
    ExpectNear((n * m) * v, n * (m * v));
    EXPECT_NE((m * n).Row(0), (n * m).Row(0));

    // A rotation's transpose is its inverse, on either side, and it keeps lengths.
    const Mat3 r = Rotation(std::cos(0.8f), std::sin(0.8f));
    for (const Mat3& product : {r * r.Transposed(), r.Transposed() * r})
        for (int i = 0; i < 3; ++i)
            ExpectNear(product.Row(i), Mat3().Row(i));
    EXPECT_NEAR((r * v).Length(), v.Length(), 1e-5f);
    // Its axis stays where it is.
    ExpectNear(r * Vec3f(1, 2, 2), Vec3f(1, 2, 2));
}
