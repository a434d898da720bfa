#pragma once

#include "shadow/IStaticMeshAdjacency.h"

#include <array>

namespace Korvo {

// Adjacency of a mesh that never moves: planes and neighbours are computed once.
class StaticMeshAdjacency : public IStaticMeshAdjacency {
public:
    using Triangle = std::array<uint16_t, 3>;

    // Positions must outlive the adjacency (the owning mesh's list). Fails with
    // "Non-adjacent face #%d." for an edge without a neighbour, and refuses meshes whose
    // lists could exceed the fixed arrays.
    StaticMeshAdjacency(const std::vector<Math::Vec3f>& Positions,
                        const std::vector<Triangle>& Triangles);

    std::string GetTypeName() const override { return "Korvo::StaticMeshAdjacency"; }

    void Update() override {}

    // The neighbour face numbers by the quadratic search, for tests and benchmarks.
    static std::vector<int> LinkLiteral(const std::vector<Math::Vec3f>& Positions,
                                        const std::vector<Triangle>& Triangles);
    // The same by the fast search; throws "Non-adjacent face #%d." like the constructor.
    static std::vector<int> Link(const std::vector<Math::Vec3f>& Positions,
                                 const std::vector<Triangle>& Triangles);
};

} // namespace Korvo
