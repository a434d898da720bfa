#pragma once

#include "media/ISkinnedMesh.h"
#include "media/RecordsMD5.h"
#include "media/SkinMD5.h"

namespace Korvo {

class ISkeleton;

// A skinned mesh of an MD5 model. Its vertex buffer (position, normal, tangent,
// bitangent) is rewritten every frame from the pose through a mapped stream buffer; the
// positions of the last skinning stay on the CPU for the adjacency, whose faces point at
// them. Every MD5 mesh casts shadows.
class MeshMD5 : public ISkinnedMesh {
public:
    MeshMD5(const Media::MeshDataMD5& Mesh, Sys::Ptr<ISkeleton> Skeleton);
    ~MeshMD5() override;

    std::string GetTypeName() const override { return "Korvo::MeshMD5"; }
    void Draw() override;
    void Update(const ISkeleton& Frame) override;

    const std::vector<Math::Vec3f>& GetSkinnedPositions() const { return SkinnedPositions; }
    const std::vector<Math::Vec3f>& GetDrawnPositions() const override { return SkinnedPositions; }

private:
    SkinMD5 Skin;
    Sys::Ptr<ISkeleton> Skeleton;
    std::vector<Math::Vec3f> SkinnedPositions;
};

} // namespace Korvo
