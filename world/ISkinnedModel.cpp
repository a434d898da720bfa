#include "world/ISkinnedModel.h"

#include "app/Exception.h"

namespace Korvo {

void ISkinnedModel::AddAnimation(const std::string& name, Sys::Ptr<ISkeletalAnimation> animation)
{
    if (!Hierarchy.IsEmpty() && !animation.IsEmpty() && !animation->GetHierarchy().IsEmpty()) {
        const auto& own = Hierarchy->GetJoints();
        const auto& other = animation->GetHierarchy()->GetJoints();
        if (other.size() != own.size())
            throw Sys::Exception("Animation \"%s\" has %zu joints, the model's skeleton %zu.",
                                 name.c_str(), other.size(), own.size());
        for (size_t i = 0; i < own.size(); ++i)
            if (other[i].Parent != own[i].Parent)
                throw Sys::Exception(
                    "Animation \"%s\" does not fit the model's skeleton: joint %zu (\"%s\") has "
                    "parent %d there, %d in the model.",
                    name.c_str(), i, other[i].Name.c_str(), other[i].Parent, own[i].Parent);
    }
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
