#include "media/SkeletalAnimationMD5.h"

#include "app/Exception.h"
#include "media/SkeletonMD5.h"

namespace Korvo {

SkeletalAnimationMD5::SkeletalAnimationMD5(Sys::Ptr<ISkeletonHierarchy> hierarchy,
                                           std::vector<Sys::Ptr<Frame>> frames, int frameRate)
{
    if (frames.empty())
        throw Sys::Exception(*this, "An animation needs at least one frame.");
    if (frameRate <= 0)
        throw Sys::Exception("Invalid <frameRate> value: %d.", frameRate);
    const size_t joints = frames[0]->Skeleton->GetJoints().size();
    for (const Sys::Ptr<Frame>& f : frames)
        if (f->Skeleton->GetJoints().size() != joints)
            throw Sys::Exception(*this, "Frames of one animation differ in their joint count.");
    // A single-frame animation holds its pose: frame 0 blends into itself.
    if (frames.size() == 1)
        frames.push_back(frames[0]);

    Hierarchy = std::move(hierarchy);
    Frames = std::move(frames);
    FrameRate = frameRate;
    Lerped.Skeleton = Sys::Ptr<ISkeleton>(new SkeletonMD5(joints));
    Lerped.Skeleton->Interpolate(*Frames[0]->Skeleton, *Frames[1]->Skeleton, 0.0f);
}

void SkeletalAnimationMD5::Advance(float TimeStep)
{
    Phase += static_cast<float>(FrameRate) * TimeStep;
    // A broken time step (negative, not a number, or hours long) must neither leave the
    // phase outside [0, 1] for the blend nor keep the loop below spinning.
    if (!(Phase >= 0.0f))
        Phase = 0.0f;
    if (Phase > 1e6f)
        Phase = 1.0f;
    const int last = static_cast<int>(Frames.size()) - 1;
    while (Phase > 1.0f) {
        CurrentFrame = NextFrame;
        NextFrame += 1;
        Phase -= 1.0f;
        if (NextFrame > last) {
            CurrentFrame = 0;
            NextFrame = 1;
        }
    }

    ISkeleton& pose = *Lerped.Skeleton;
    pose.Interpolate(*Frames[CurrentFrame]->Skeleton, *Frames[NextFrame]->Skeleton, Phase);

    const Math::Vec3f root = pose.GetJoints().empty() ? Math::Vec3f() : pose.GetJoints()[0].P;
    const auto& first = Frames[0]->Skeleton->GetJoints();
    const Math::Vec3f origin = first.empty() ? Math::Vec3f() : first[0].P;
    Lerped.Offset = root - origin;
    if (Lerped.Offset.Length() > 0.0f)
        pose.Translate(-Lerped.Offset);
}

} // namespace Korvo
