#pragma once

#include "app/IObject.h"
#include "math/Mat3.h"
#include "math/Vec3.h"

namespace Game {

// A scene node: a plain transform. Nodes that carry an engine object push their
// transform into it in Update(), which the movers call after moving the node.
class INode : public Sys::IObject {
public:
    ~INode() override = default;

    virtual void SetPosition(const Math::Vec3f& p) { position = p; }
    virtual void SetOrientation(const Math::Mat3& m) { orientation = m; }
    virtual void Update() {}

    Math::Vec3f position;
    Math::Mat3 orientation;
};

} // namespace Game
