#pragma once

#include "app/Ptr.h"
#include "media/IMesh.h"
#include "world/IEntity.h"

#include <vector>

namespace Korvo {

// A placed object of the world that owns a list of meshes. The renderers walk the meshes
// to draw it and, while ShadowCaster is set, draw the meshes' shadow volumes.
class IModel : public IEntity {
public:
    IModel() = default;
    ~IModel() override = default;

    virtual int GetNumMeshes() const = 0;
    // Index must be below GetNumMeshes().
    virtual Sys::Ptr<IMesh> GetMesh(int index) const = 0;
    // Debug drawing of the current skeleton pose; static models draw nothing.
    virtual void DrawSkeleton() = 0;
    // Per-frame animation step; static models ignore it.
    virtual void Animate(float timeStep) = 0;

    // Draws every mesh in list order inside the model matrix. The caller has bound the
    // program and the vertex format.
    void DrawModel() const;

    // A world-space point in this model's space (the inverse of the model matrix).
    Math::Vec3f ToModelSpace(const Math::Vec3f& world) const;

    bool ShadowCaster = true;
    std::vector<Sys::Ptr<IMesh>> Meshes;
};

} // namespace Korvo
