#pragma once

#include "app/KorvoIObject.h"
#include "math/Vec3.h"

#include <vector>

namespace Korvo {

// A pose: one joint pose per joint of the hierarchy, in hierarchy order.
class ISkeleton : public IObject {
public:
    struct JointPose {
        float Q[4] = {0, 0, 0, 1};     // orientation quaternion x, y, z, w
        Math::Vec3f P;                 // position in model space
        // Rotation of Q kept beside it so that skinning needs no conversion:
        // (R v)[i] = sum over j of R[i + 3 j] * v[j].
        float R[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

        Math::Vec3f Rotate(const Math::Vec3f& v) const
        {
            return {R[0] * v.x + R[3] * v.y + R[6] * v.z, R[1] * v.x + R[4] * v.y + R[7] * v.z,
                    R[2] * v.x + R[5] * v.y + R[8] * v.z};
        }
        // The inverse rotation (the transpose).
        Math::Vec3f RotateInverse(const Math::Vec3f& v) const
        {
            return {R[0] * v.x + R[1] * v.y + R[2] * v.z, R[3] * v.x + R[4] * v.y + R[5] * v.z,
                    R[6] * v.x + R[7] * v.y + R[8] * v.z};
        }
    };

    virtual void Translate(const Math::Vec3f& Offset) = 0;
    virtual void Interpolate(const ISkeleton& Curr, const ISkeleton& Next, float t) = 0;
    // Debug drawing of the pose in the current GL matrix: joints, bones toward the parent
    // (when the hierarchy is given) and each joint's forward axis.
    virtual void Draw(const class ISkeletonHierarchy* Hierarchy = nullptr) const = 0;

    std::vector<JointPose>& GetJoints() { return Joints; }
    const std::vector<JointPose>& GetJoints() const { return Joints; }

protected:
    std::vector<JointPose> Joints;
};

} // namespace Korvo
