#pragma once

#include "shadow/IMeshAdjacency.h"

#include <array>

namespace Korvo {

class IStaticMeshAdjacency : public IMeshAdjacency {
public:
    struct Face {
        uint16_t Indices[3];
        float Plane[4];            // n = (P1 - P0) x (P2 - P0), not normalised; d = -n.P0
        bool FacesLight = false;
        Math::Vec3f Corners[3];    // copies of the corner positions
        Face* Neighbours[3];       // across edges 0 -> 1, 1 -> 2, 2 -> 0
    };

    // Debug drawing with the current GL state: 0 silhouette edges, 1 cap triangles,
    // 2 face edges without a neighbour, 3 faces with a missing neighbour.
    void DrawGeometry(int Type) override;

    const std::vector<Face>& GetFaces() const { return Faces; }

protected:
    using IMeshAdjacency::IMeshAdjacency;
    std::vector<Face> Faces;
};

} // namespace Korvo
