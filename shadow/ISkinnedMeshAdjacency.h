#pragma once

#include "shadow/IFaceMeshAdjacency.h"

namespace Korvo {

// Face corners point into the mesh's skinned positions, so that the faces follow the pose.
class ISkinnedMeshAdjacency : public IFaceMeshAdjacency<const Math::Vec3f*> {
public:
    void DrawGeometry(int Type) override;

protected:
    using IFaceMeshAdjacency::IFaceMeshAdjacency;
};

} // namespace Korvo
