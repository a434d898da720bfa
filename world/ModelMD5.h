#pragma once

#include "world/ISkinnedModel.h"

#include <vector>

namespace Korvo {

class MeshMD5;

// A skinned, animated model built by the MD5 loader from its meshes and the skeleton of
// the mesh file, whose pose is the bind pose.
class ModelMD5 : public ISkinnedModel {
public:
    ModelMD5(const std::vector<Sys::Ptr<MeshMD5>>& meshes, Sys::Ptr<ISkeleton> skeleton,
             Sys::Ptr<ISkeletonHierarchy> hierarchy = nullptr);
    ~ModelMD5() override = default;

    std::string GetTypeName() const override { return "Korvo::ModelMD5"; }

    int GetNumMeshes() const override { return static_cast<int>(Meshes.size()); }
    Sys::Ptr<IMesh> GetMesh(int index) const override { return Meshes[index]; }
    void DrawSkeleton() override;
    void Animate(float timeStep) override;

private:
    // The skinned view of Meshes, kept so that a frame needs no casts.
    std::vector<Sys::Ptr<MeshMD5>> SkinnedMeshes;
};

} // namespace Korvo
