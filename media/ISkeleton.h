#pragma once

#include "app/KorvoIObject.h"
#include "math/Vec3.h"

namespace Korvo {

// A skeleton pose: the joint poses of one frame, in hierarchy order.
class ISkeleton : public IObject {
public:
    ~ISkeleton() override = default;

    // Adds the offset to every joint position.
    virtual void Translate(const Math::Vec3f& offset) = 0;
    // Makes this pose the blend of two poses with the same joint count.
    virtual void Interpolate(const ISkeleton& curr, const ISkeleton& next, float t) = 0;
    // Debug drawing of the pose in the current GL matrix.
    virtual void Draw() const = 0;
};

} // namespace Korvo
