#pragma once

#include "media/IMesh.h"

namespace Korvo {

class ISkeleton;

// A mesh whose vertices are recomputed from a skeleton pose every frame.
class ISkinnedMesh : public IMesh {
public:
    using IMesh::IMesh;
    ~ISkinnedMesh() override = default;

    // Skins the vertices with the joint poses of the given frame.
    virtual void Update(const ISkeleton& frame) = 0;
};

} // namespace Korvo
