#pragma once

#include "shadow/IMeshAdjacency.h"
#include "shadow/IShadowVolume.h"
#include "shadow/ShadowVolumeDrawPlan.h"

#include <vector>

namespace GL {
class VertexBuffer;
class IndexBuffer;
} // namespace GL

namespace Korvo {

// Streams a mesh's silhouette and caps for one light and draws them, in the states the
// renderer's plan gives, into the stencil buffer (or, without stencil counting, into alpha
// by blending). Only positions are streamed: the quad and wedge topology and corner numbers
// come from the shared primitive buffers the renderer binds, and the caps index the mesh's
// own vertices, or, where the volume ends on a plane, the mesh's positions moved onto it.
class ShadowVolume : public IShadowVolume {
public:
    ShadowVolume(Sys::Ptr<const GL::VertexBuffer> MeshVertices, Sys::Ptr<IMeshAdjacency> Adjacency);
    ~ShadowVolume() override;

    std::string GetTypeName() const override { return "Korvo::ShadowVolume"; }

    void Update(int Type) override;
    void DrawSides(const ShadowVolumeDrawPlan::Steps& steps) override;
    void DrawCaps(const ShadowVolumeDrawPlan::Steps& steps) override;
    void DrawFarCaps(const ShadowVolumeDrawPlan::Steps& steps) override;
    void EndAt(const Math::Vec3f& light, const Math::Vec3f& axis, float distance) override;
    void EndPartAt(int part, const Math::Vec3f& axis, float distance) override;
    // Whether the mesh, or any of its parts, ends on a plane: the streamed far vertices then
    // lie where the volume ends, at infinity (w = 0) for a part that has no plane.
    bool EndsOnPlane() const override { return AnyEnds; }
    void DrawWedges(const Sys::Ptr<const GL::IProgram> Programs[3],
                    const ShadowVolumeDrawPlan::WedgeSteps& steps, int wedgeCount,
                    const IWedgeScissor* scissor) override;

    int GetIndicesPerWedge() const { return IndicesPerWedge; }

    // Where the ray from `light` through `p` meets the plane across `axis` at `distance`
    // from the light. The sides' far vertices and the far caps' come from here, and so must
    // every test of where they lie, so that all of them agree to the bit.
    static Math::Vec3f FarPoint(const Math::Vec3f& light, const Math::Vec3f& axis,
                                float distance, const Math::Vec3f& p);

private:
    void BindCaps();
    struct Vec4 {
        float x, y, z, w;
    };
    static Vec4 Near(const Math::Vec3f& p);
    // Where the ray from the light through p, a point of the part, meets its end plane; the
    // direction away from the light where the part reaches infinity.
    Vec4 Far(const Math::Vec3f& p, int part) const;
    void DrawSteps(const ShadowVolumeDrawPlan::Steps& steps, int count);

    Sys::Ptr<const GL::VertexBuffer> MeshVertices;
    Sys::Ptr<IMeshAdjacency> Adjacency;
    Sys::Ptr<GL::VertexBuffer> SideVertices;
    Sys::Ptr<GL::IndexBuffer> CapIndices;
    Sys::Ptr<GL::VertexBuffer> WedgeVertices;
    Sys::Ptr<GL::VertexBuffer> FarCapVertices;   // the far cap on the end plane
    int IndicesPerWedge = 24;
    int SideVertexCapacity = 1, CapIndexCapacity = 1, WedgeVertexCapacity = 1;
    int FarCapVertexCapacity = 1;
    Math::Vec3f EndLight, EndAxis;
    float EndDistance = 0.0f;   // 0: the volume reaches infinity
    // Each part's end plane: the mesh's, unless EndPartAt gave it one of its own.
    std::vector<Math::Vec3f> PartAxes;
    std::vector<float> PartDistances;
    bool EndsByParts = false;
    bool AnyEnds = false;
};

} // namespace Korvo
