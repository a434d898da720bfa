#pragma once

#include "shadow/ISkinnedMeshAdjacency.h"

#include <array>

namespace Korvo {

// Adjacency of a skinned mesh. Character meshes are not closed everywhere, so only the
// valid faces get records: open borders, and what becomes open once they are gone, are
// peeled away until every remaining face has all three neighbours among the remaining
// ones. Face corners point into the mesh's skinned positions and Update() recomputes
// the planes after each skinning.
class MeshAdjacencyMD5 : public ISkinnedMeshAdjacency {
public:
    using Triangle = std::array<uint16_t, 3>;

    // SkinnedPositions must outlive the adjacency and keep its size.
    MeshAdjacencyMD5(const std::vector<Math::Vec3f>& SkinnedPositions,
                     const std::vector<Triangle>& Triangles);

    std::string GetTypeName() const override { return "Korvo::MeshAdjacencyMD5"; }

    void Update() override;

    // Which triangles survive the peeling: fast and by the literal quadratic passes.
    static std::vector<char> ValidFaces(const std::vector<Math::Vec3f>& Positions,
                                        const std::vector<Triangle>& Triangles);
    static std::vector<char> ValidFacesLiteral(const std::vector<Math::Vec3f>& Positions,
                                               const std::vector<Triangle>& Triangles);
};

} // namespace Korvo
