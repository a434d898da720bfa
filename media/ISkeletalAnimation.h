#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"
#include "math/Vec3.h"
#include "media/ISkeleton.h"

#include <vector>

namespace Korvo {

// An animation clock over a list of poses; Advance() moves it and recomputes the
// interpolated pose that the model skins its meshes with.
class ISkeletalAnimation : public IObject {
public:
    struct Frame {
        Sys::Ptr<ISkeleton> Pose;
    };
    struct LerpedFrame {
        Sys::Ptr<ISkeleton> Pose;
        Math::Vec3f Offset;   // root motion removed from the pose
    };

    ~ISkeletalAnimation() override = default;

    virtual void Advance(float timeStep) = 0;
    // Called when the animation becomes a model's current one.
    virtual void Select() {}

    Sys::Ptr<const LerpedFrame> GetLerpedFrame() const { return Lerped; }

    std::vector<Sys::Ptr<Frame>> Frames;
    int FrameRate = 0;
    float Phase = 0.0f;
    int CurrentFrame = 0;
    int NextFrame = 1;
    Sys::Ptr<LerpedFrame> Lerped;
};

} // namespace Korvo
