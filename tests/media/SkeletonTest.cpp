#include "media/SkeletalAnimationMD5.h"
#include "media/SkeletonHierarchyMD5.h"
#include "media/SkeletonMD5.h"

#include <gtest/gtest.h>

#include <cmath>

using Korvo::ISkeletalAnimation;
using Korvo::ISkeleton;
using Korvo::SkeletonMD5;

TEST(Skeleton, ReconstructedW)
{
    EXPECT_FLOAT_EQ(SkeletonMD5::ComputeW(0, 0, 0), -1.0f);
    EXPECT_FLOAT_EQ(SkeletonMD5::ComputeW(0.6f, 0.8f, 0), 0.0f);
    EXPECT_FLOAT_EQ(SkeletonMD5::ComputeW(0.5f, 0.5f, 0.5f), -0.5f);
}

TEST(Skeleton, RotationMatrixMatchesQuaternionRotation)
{
    ISkeleton::JointPose j;
    const float q[4] = {0.1f, -0.7f, 0.3f, 0.64f};
    for (int k = 0; k < 4; ++k)
        j.Q[k] = q[k];
    SkeletonMD5::ComputeRotation(j);
    const float n = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    const float unit[4] = {q[0] / n, q[1] / n, q[2] / n, q[3] / n};
    const Math::Vec3f v(1, -2, 0.5f);
    const Math::Vec3f a = j.Rotate(v);
    const Math::Vec3f b = SkeletonMD5::RotateByQuaternion(unit, v);
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
    const Math::Vec3f back = j.RotateInverse(a);
    EXPECT_NEAR(back.x, v.x, 1e-5f);
    EXPECT_NEAR(back.z, v.z, 1e-5f);
}

TEST(Skeleton, InterpolationTakesTheShorterWay)
{
    SkeletonMD5 a(1), b(1), out(1);
    b.GetJoints()[0].Q[3] = -1.0f;
    a.GetJoints()[0].P = {0, 0, 0};
    b.GetJoints()[0].P = {2, 4, 6};
    out.Interpolate(a, b, 0.5f);
    const auto& j = out.GetJoints()[0];
    EXPECT_FLOAT_EQ(j.Q[3], 1.0f);
    EXPECT_EQ(j.P, Math::Vec3f(1, 2, 3));

    // Opposite quaternions on the positive-dot side cancel to zero: the fallback keeps a
    // unit quaternion.
    SkeletonMD5 c(1), d(1);
    c.GetJoints()[0].Q[0] = 1.0f;
    c.GetJoints()[0].Q[3] = 1.0f;
    d.GetJoints()[0].Q[0] = -1.0f;
    d.GetJoints()[0].Q[3] = 1.0f;
    out.Interpolate(c, d, 0.5f);
    EXPECT_FLOAT_EQ(out.GetJoints()[0].Q[3], 1.0f);
}

namespace {

Sys::Ptr<ISkeletalAnimation> Animation(int frames)
{
    std::vector<Sys::Ptr<ISkeletalAnimation::Frame>> list;
    for (int f = 0; f < frames; ++f) {
        Sys::Ptr<ISkeleton> pose(new SkeletonMD5(2));
        pose->GetJoints()[0].P = {float(f), 0, 0};
        pose->GetJoints()[1].P = {float(f), 1, 0};
        list.push_back(Sys::Ptr<ISkeletalAnimation::Frame>(new ISkeletalAnimation::Frame{pose}));
    }
    Sys::Ptr<Korvo::ISkeletonHierarchy> h(new Korvo::SkeletonHierarchyMD5({}));
    return Sys::Ptr<ISkeletalAnimation>(new Korvo::SkeletalAnimationMD5(h, list, 24));
}

} // namespace

TEST(SkeletalAnimation, ClockLoopsThroughFrameZeroAndRemovesRootMotion)
{
    auto a = Animation(3);
    a->Advance(0.005f);
    EXPECT_NEAR(a->GetPhase(), 0.12f, 1e-6f);
    EXPECT_EQ(a->GetCurrentFrame(), 0);
    EXPECT_EQ(a->GetNextFrame(), 1);
    // The root moved by 0.12 along x; the pose is put back where frame 0 has it.
    EXPECT_NEAR(a->GetLerpedFrame().Offset.x, 0.12f, 1e-6f);
    EXPECT_NEAR(a->GetLerpedFrame().Skeleton->GetJoints()[0].P.x, 0.0f, 1e-6f);
    EXPECT_NEAR(a->GetLerpedFrame().Skeleton->GetJoints()[1].P.y, 1.0f, 1e-6f);

    auto b = Animation(3);
    b->Advance(0.05f);
    EXPECT_NEAR(b->GetPhase(), 0.2f, 1e-5f);
    EXPECT_EQ(b->GetCurrentFrame(), 1);
    EXPECT_EQ(b->GetNextFrame(), 2);
    b->Advance(1.0f / 24.0f);
    EXPECT_EQ(b->GetCurrentFrame(), 0);   // past frame 2: back to (0, 1), never (2, 0)
    EXPECT_EQ(b->GetNextFrame(), 1);

    // Broken time steps keep the blend factor inside [0, 1].
    b->Advance(-5.0f);
    b->Advance(std::nanf(""));
    b->Advance(1e30f);
    EXPECT_GE(b->GetPhase(), 0.0f);
    EXPECT_LE(b->GetPhase(), 1.0f);
}
