#pragma once

#include "shadow/IFaceMeshAdjacency.h"

namespace Korvo {

// Face corners are copies of the positions.
class IStaticMeshAdjacency : public IFaceMeshAdjacency<Math::Vec3f> {
public:
    // Debug drawing with the current GL state: 0 silhouette edges, 1 cap triangles,
    // 2 face edges without a neighbour, 3 faces with a missing neighbour.
    void DrawGeometry(int Type) override;

protected:
    using IFaceMeshAdjacency::IFaceMeshAdjacency;
};

} // namespace Korvo
