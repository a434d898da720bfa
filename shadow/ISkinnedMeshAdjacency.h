#pragma once

#include "shadow/IMeshAdjacency.h"

namespace Korvo {

class ISkinnedMeshAdjacency : public IMeshAdjacency {
public:
    struct Face {
        uint16_t Indices[3];
        float Plane[4];
        bool FacesLight = false;
        // Into the mesh's skinned positions, so that the faces follow the pose.
        const Math::Vec3f* Corners[3];
        Face* Neighbours[3];
    };

    void DrawGeometry(int Type) override;

    const std::vector<Face>& GetFaces() const { return Faces; }

protected:
    using IMeshAdjacency::IMeshAdjacency;
    std::vector<Face> Faces;
};

} // namespace Korvo
