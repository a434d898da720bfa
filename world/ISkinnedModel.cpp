#include "world/ISkinnedModel.h"

namespace Korvo {

void ISkinnedModel::AddAnimation(const std::string& name, Sys::Ptr<ISkeletalAnimation> animation)
{
    Animations[name] = animation;
}

void ISkinnedModel::SetAnimation(const std::string& name)
{
    CurrentAnimationName = name;
    const auto found = Animations.find(name);
    if (found == Animations.end()) {
        CurrentAnimation = nullptr;
        return;
    }
    CurrentAnimation = found->second;
    CurrentAnimation->Select();
}

} // namespace Korvo
