#pragma once

#include "media/IMesh.h"

namespace Korvo {

// A mesh whose vertices never change after loading.
class IStaticMesh : public IMesh {
public:
    using IMesh::IMesh;
    ~IStaticMesh() override = default;
};

} // namespace Korvo
