#pragma once

#include "shadow/IMeshAdjacency.h"
#include "shadow/IShadowVolume.h"
#include "shadow/ShadowVolumeDrawPlan.h"

namespace GL {
class VertexBuffer;
class IndexBuffer;
} // namespace GL

namespace Korvo {

// Streams a mesh's silhouette and caps for one light and draws them, in the states the
// renderer's plan gives, into the stencil buffer (or, without stencil counting, into alpha
// by blending). Only positions are
// streamed: the quad and wedge topology and corner numbers come from the shared
// primitive buffers the renderer binds, and the caps index the mesh's own vertices.
class ShadowVolume : public IShadowVolume {
public:
    ShadowVolume(Sys::Ptr<const GL::VertexBuffer> MeshVertices, Sys::Ptr<IMeshAdjacency> Adjacency);
    ~ShadowVolume() override;

    std::string GetTypeName() const override { return "Korvo::ShadowVolume"; }

    void Update(int Type) override;
    void DrawSides(const ShadowVolumeDrawPlan::Steps& steps) override;
    void DrawCaps(const ShadowVolumeDrawPlan::Steps& steps) override;
    void DrawCapsPlain() override;
    void DrawWedges(const Sys::Ptr<const GL::IProgram> Programs[3],
                    const ShadowVolumeDrawPlan::WedgeSteps& steps, int wedgeCount) override;

    int GetIndicesPerWedge() const { return IndicesPerWedge; }

private:
    void BindCaps();
    void DrawSteps(const ShadowVolumeDrawPlan::Steps& steps, int count);

    Sys::Ptr<const GL::VertexBuffer> MeshVertices;
    Sys::Ptr<IMeshAdjacency> Adjacency;
    Sys::Ptr<GL::VertexBuffer> SideVertices;
    Sys::Ptr<GL::IndexBuffer> CapIndices;
    Sys::Ptr<GL::VertexBuffer> WedgeVertices;
    int IndicesPerWedge = 24;
    int SideVertexCapacity = 1, CapIndexCapacity = 1, WedgeVertexCapacity = 1;
};

} // namespace Korvo
