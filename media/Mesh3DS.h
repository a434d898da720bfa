#pragma once

#include "media/IStaticMesh.h"
#include "media/MeshRecord3DS.h"

namespace Korvo {

// A static mesh made from one named object of a 3DS file: positions and normals in a
// static vertex buffer, three indices per triangle in a static index buffer, and, for a
// shadow caster, its edge adjacency and shadow volume.
class Mesh3DS : public IStaticMesh {
public:
    Mesh3DS(const std::string& Name, const Media::MeshRecord3DS& Record, bool CastShadows);
    ~Mesh3DS() override;

    std::string GetTypeName() const override { return "Korvo::Mesh3DS"; }
    void Draw() override;

    // The interleaved (position, normal) vertex data of a record, for the buffer.
    static std::vector<float> Interleave(const std::vector<Math::Vec3f>& Positions,
                                         const std::vector<Math::Vec3f>& Normals);
};

} // namespace Korvo
