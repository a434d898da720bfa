#include "world/ModelMD5.h"

#include "media/MeshMD5.h"

#include <GL/glew.h>

namespace Korvo {

ModelMD5::ModelMD5(const std::vector<Sys::Ptr<MeshMD5>>& meshes, Sys::Ptr<ISkeleton> skeleton,
                   Sys::Ptr<ISkeletonHierarchy> hierarchy)
    : SkinnedMeshes(meshes)
{
    Meshes.reserve(meshes.size());
    for (const Sys::Ptr<MeshMD5>& mesh : meshes)
        Meshes.push_back(Sys::Ptr<IMesh>(mesh));
    Skeleton = skeleton;
    BaseFrame = skeleton;
    Hierarchy = hierarchy;
}

void ModelMD5::Animate(float timeStep)
{
    const ISkeleton* pose = BaseFrame.Get();
    if (CurrentAnimation) {
        CurrentAnimation->Advance(timeStep);
        pose = CurrentAnimation->GetLerpedFrame().Skeleton.Get();
    }
    for (const Sys::Ptr<MeshMD5>& mesh : SkinnedMeshes)
        mesh->Update(*pose);
}

void ModelMD5::DrawSkeleton()
{
    const ISkeleton* pose = BaseFrame.Get();
    if (CurrentAnimation)
        pose = CurrentAnimation->GetLerpedFrame().Skeleton.Get();
    const Math::Mat4 model = GetModelMatrix();
    glPushMatrix();
    glMultMatrixf(model.Data());
    pose->Draw();
    glPopMatrix();
}

} // namespace Korvo
