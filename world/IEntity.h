#pragma once

#include "app/KorvoIObject.h"
#include "math/Mat3.h"
#include "math/Mat4.h"
#include "math/Vec3.h"

namespace Korvo {

// Anything placed in the world (models, lights, viewers): a position and an orientation.
// Scene nodes write these two fields directly once per frame.
class IEntity : public IObject {
public:
    ~IEntity() override = default;

    // Per-frame entity update; does nothing unless a class says otherwise.
    virtual void Update() {}

    // Column-major model matrix: orientation in elements 0-2, 4-6, 8-10 in storage
    // order, position in 12-14.
    Math::Mat4 GetModelMatrix() const
    {
        return Math::Mat4::FromOrientationPosition(Orientation, Position);
    }

    Math::Vec3f Position;
    Math::Mat3 Orientation;
};

} // namespace Korvo
