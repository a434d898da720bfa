#pragma once

#include "world/IModel.h"

namespace Korvo {

// A model whose meshes never change: nothing to animate, no skeleton to draw.
class IStaticModel : public IModel {
public:
    ~IStaticModel() override = default;

    int GetNumMeshes() const override { return static_cast<int>(Meshes.size()); }
    Sys::Ptr<IMesh> GetMesh(int index) const override { return Meshes[index]; }
    void DrawSkeleton() override {}
    void Animate(float) override {}
};

} // namespace Korvo
