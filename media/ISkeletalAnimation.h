#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"
#include "math/Vec3.h"
#include "media/ISkeleton.h"
#include "media/ISkeletonHierarchy.h"

#include <vector>

namespace Korvo {

// A looping skeletal animation: a list of poses played at a fixed frame rate, blended
// between the current and the next frame by the phase.
class ISkeletalAnimation : public IObject {
public:
    struct Frame {
        Sys::Ptr<ISkeleton> Skeleton;
    };

    struct LerpedFrame {
        Sys::Ptr<ISkeleton> Skeleton;
        // Root motion taken out of the pose, so that the root stays where frame 0 has it.
        Math::Vec3f Offset;
    };

    // Moves the clock by TimeStep seconds and recomputes the interpolated pose.
    virtual void Advance(float TimeStep) = 0;
    // Called when the animation becomes the model's current one.
    virtual void Select() = 0;

    const LerpedFrame& GetLerpedFrame() const { return Lerped; }
    const std::vector<Sys::Ptr<Frame>>& GetFrames() const { return Frames; }
    const Sys::Ptr<ISkeletonHierarchy>& GetHierarchy() const { return Hierarchy; }
    int GetFrameRate() const { return FrameRate; }
    float GetPhase() const { return Phase; }
    int GetCurrentFrame() const { return CurrentFrame; }
    int GetNextFrame() const { return NextFrame; }

protected:
    std::vector<Sys::Ptr<Frame>> Frames;
    int FrameRate = 0;
    float Phase = 0.0f;
    int CurrentFrame = 0;
    int NextFrame = 1;
    LerpedFrame Lerped;
    Sys::Ptr<ISkeletonHierarchy> Hierarchy;
};

} // namespace Korvo
