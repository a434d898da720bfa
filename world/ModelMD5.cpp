#include "world/ModelMD5.h"

#include "media/MeshMD5.h"

#include <GL/glew.h>

namespace Korvo {

ModelMD5::ModelMD5(const std::vector<Sys::Ptr<MeshMD5>>& meshes, Sys::Ptr<ISkeleton> skeleton)
    : SkinnedMeshes(meshes)
{
    Meshes.reserve(meshes.size());
    for (const Sys::Ptr<MeshMD5>& mesh : meshes)
        Meshes.push_back(Sys::Ptr<IMesh>(mesh));
    Skeleton = skeleton;
    BaseFrame = skeleton;
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
    const ISkeletonHierarchy* hierarchy = nullptr;
    if (CurrentAnimation) {
        pose = CurrentAnimation->GetLerpedFrame().Skeleton.Get();
        hierarchy = CurrentAnimation->GetHierarchy().Get();
    }
    const std::vector<ISkeleton::JointPose>& joints = pose->GetJoints();
    const Math::Mat4 model = GetModelMatrix();
    glPushMatrix();
    glMultMatrixf(model.Data());
    glColor4f(1.0f, 0.0f, 0.0f, 0.6f);
    glBegin(GL_POINTS);
    for (const ISkeleton::JointPose& joint : joints)
        glVertex3f(joint.P.x, joint.P.y, joint.P.z);
    glEnd();
    // Bones need the parents, which the animation's hierarchy holds.
    if (hierarchy != nullptr) {
        glColor4f(1.0f, 1.0f, 0.0f, 0.4f);
        glBegin(GL_LINES);
        const std::vector<ISkeletonHierarchy::Joint>& links = hierarchy->GetJoints();
        for (int i = 0; i < static_cast<int>(joints.size()) && i < static_cast<int>(links.size());
             ++i) {
            const int parent = links[i].Parent;
            if (parent < 0 || parent >= static_cast<int>(joints.size()))
                continue;
            glVertex3f(joints[parent].P.x, joints[parent].P.y, joints[parent].P.z);
            glVertex3f(joints[i].P.x, joints[i].P.y, joints[i].P.z);
        }
        glEnd();
    }
    glPopMatrix();
}

} // namespace Korvo
