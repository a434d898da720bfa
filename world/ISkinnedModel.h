#pragma once

#include "media/ISkeletalAnimation.h"
#include "media/ISkeleton.h"
#include "world/IModel.h"

#include <map>
#include <string>

namespace Korvo {

// A model skinned from a skeleton, with animations registered by name. With no current
// animation it shows the bind pose (the base frame).
class ISkinnedModel : public IModel {
public:
    ~ISkinnedModel() override = default;

    // Stores the animation under the name, replacing an earlier one of that name. When the
    // model knows its joints, an animation of other joints (another count, another parent
    // anywhere) is refused: it would pose the meshes by the wrong bones.
    void AddAnimation(const std::string& name, Sys::Ptr<ISkeletalAnimation> animation);
    // An unknown name empties the current animation, which brings back the bind pose.
    void SetAnimation(const std::string& name);

    std::map<std::string, Sys::Ptr<ISkeletalAnimation>> Animations;
    std::string CurrentAnimationName;
    Sys::Ptr<ISkeletalAnimation> CurrentAnimation;
    Sys::Ptr<ISkeleton> Skeleton;
    Sys::Ptr<ISkeleton> BaseFrame;
    // The joints the meshes are bound to; empty when the model was built without them.
    Sys::Ptr<ISkeletonHierarchy> Hierarchy;
};

} // namespace Korvo
