#pragma once

#include "math/Mat4.h"
#include "world/IEntity.h"

namespace Korvo {

// The eye a frame is drawn through: the matrices the renderers load into the
// fixed-function stacks, and the world position used for specular lighting.
class IViewer : public IEntity {
public:
    ~IViewer() override = default;

    // Debug drawing of the viewing volume.
    virtual void Draw() const = 0;

    virtual const Math::Mat4& GetViewMatrix() const = 0;
    virtual const Math::Mat4& GetProjectionMatrix() const = 0;
    // Same field of view and near plane with the far plane at 30 units.
    virtual const Math::Mat4& GetShortRangeProjectionMatrix() const = 0;

    const Math::Vec3f& GetPosition() const { return Position; }
};

} // namespace Korvo
