#pragma once

#include "media/ISkeleton.h"

namespace Korvo {

class SkeletonMD5 : public ISkeleton {
public:
    explicit SkeletonMD5(size_t jointCount) { Joints.resize(jointCount); }
    std::string GetTypeName() const override { return "Korvo::SkeletonMD5"; }

    void Translate(const Math::Vec3f& Offset) override;
    void Interpolate(const ISkeleton& Curr, const ISkeleton& Next, float t) override;
    void Draw(const ISkeletonHierarchy* Hierarchy = nullptr) const override;

    // w of a unit quaternion from its vector part: the negative root, or 0 when the
    // vector part is (within 1e-6) of unit length already.
    static float ComputeW(float x, float y, float z);
    // Fills R from Q.
    static void ComputeRotation(JointPose& joint);
    // a * b, x, y, z, w order.
    static void Multiply(const float a[4], const float b[4], float out[4]);
    static Math::Vec3f RotateByQuaternion(const float q[4], const Math::Vec3f& v);
};

} // namespace Korvo
