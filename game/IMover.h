#pragma once

#include "app/Ptr.h"
#include "math/Vec3.h"

namespace Game {

class INode;

// Something that moves a scene node every frame.
class IMover {
public:
    virtual ~IMover() = default;

    virtual void BuildEllipsePath(const Math::Vec3f& center, float radiusA, float radiusB,
                                  int segments) = 0;
    virtual void SetMotion(Sys::Ptr<INode> node, int orientMode, bool forward, int wrapMode,
                           float speedOrDuration, bool isSpeed, float start, float rangeA,
                           float rangeB) = 0;
    // Reserved hook; no mover reacts to it.
    virtual void Notify() {}
    virtual void Update(float dt) = 0;
};

} // namespace Game
