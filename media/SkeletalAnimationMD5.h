#pragma once

#include "media/ISkeletalAnimation.h"

namespace Korvo {

class SkeletalAnimationMD5 : public ISkeletalAnimation {
public:
    // At least two frames (the clock always blends frame 0 into frame 1 at the start)
    // with the same joint count; FrameRate above 0.
    SkeletalAnimationMD5(Sys::Ptr<ISkeletonHierarchy> Hierarchy,
                         std::vector<Sys::Ptr<Frame>> Frames, int FrameRate);
    std::string GetTypeName() const override { return "Korvo::SkeletalAnimationMD5"; }

    void Advance(float TimeStep) override;
    void Select() override {}
};

} // namespace Korvo
