#include "shadow/ShadowVolume.h"

#include "app/DeveloperException.h"
#include "app/Exception.h"
#include "gl/IProgram.h"
#include "gl/IRenderDevice.h"
#include "gl/IndexBuffer.h"
#include "gl/VertexBuffer.h"
#include "shadow/IWedgeScissor.h"

#include <algorithm>
#include <cstring>

namespace Korvo {

ShadowVolume::ShadowVolume(Sys::Ptr<const GL::VertexBuffer> meshVertices,
                           Sys::Ptr<IMeshAdjacency> adjacency)
    : MeshVertices(meshVertices), Adjacency(adjacency)
{
    try {
        // x, y, z, w: a far vertex of a part that reaches infinity is a direction (w = 0).
        GL::VertexFormat sides;
        sides.AddAttribute(0, 4, GL_FLOAT);
        sides.Compile();
        GL::VertexFormat wedges;
        wedges.AddAttribute(0, 3, GL_FLOAT);
        wedges.AddAttribute(1, 3, GL_FLOAT);
        wedges.Compile();
        // GL buffers hold at least one element; each Update sizes them to its lists.
        SideVertices = Sys::Ptr<GL::VertexBuffer>(new GL::VertexBuffer(sides, 1, GL_STREAM_DRAW));
        CapIndices = Sys::Ptr<GL::IndexBuffer>(new GL::IndexBuffer(1, GL_STREAM_DRAW));
        WedgeVertices =
            Sys::Ptr<GL::VertexBuffer>(new GL::VertexBuffer(wedges, 1, GL_STREAM_DRAW));
        FarCapVertices =
            Sys::Ptr<GL::VertexBuffer>(new GL::VertexBuffer(sides, 1, GL_STREAM_DRAW));
    } catch (...) {
        throw Sys::Exception("Failed to allocate shadow volume.");
    }
    PartAxes.resize(Adjacency->GetPartCount());
    PartDistances.resize(Adjacency->GetPartCount());
}

ShadowVolume::~ShadowVolume() = default;

namespace {

// The buffers only grow, by half again at least, so that a silhouette that changes from
// frame to frame settles on a size and stops re-allocating them; the draws use the front.
int Grown(int capacity, int needed)
{
    return std::max(needed, capacity + capacity / 2);
}

} // namespace

void ShadowVolume::Update(int Type)
{
    const IMeshAdjacency& a = *Adjacency;
    switch (Type) {
    case 0: {
        // A, A, B, B per edge: with the quad buffer's w of 1, 0, 0, 1 the quad spans the
        // edge and its extrusion, wound like the lit face's edge A -> B. Where the volume
        // ends on a plane, the second and third are already the far points there.
        const int edges = a.GetSilhouetteEdgeCount();
        if (edges == 0)
            return;
        if (4 * edges > SideVertexCapacity) {
            SideVertexCapacity = Grown(SideVertexCapacity, 4 * edges);
            SideVertices->Resize(SideVertexCapacity);
        }
        float* out = static_cast<float*>(SideVertices->Map());
        const IMeshAdjacency::Edge* e = a.GetEdges();
        for (int i = 0; i < edges; ++i) {
            const Vec4 corners[4] = {Near(e[i].A), Far(e[i].A, e[i].Part),
                                     Far(e[i].B, e[i].Part), Near(e[i].B)};
            std::memcpy(out, corners, sizeof corners);
            out += 16;
        }
        SideVertices->Unmap();
        break;
    }
    case 1: {
        const int indices = 3 * a.GetCapTriangleCount();
        if (indices == 0)
            return;
        if (indices > CapIndexCapacity) {
            CapIndexCapacity = Grown(CapIndexCapacity, indices);
            CapIndices->Resize(CapIndexCapacity);
        }
        CapIndices->SetData(indices, a.GetCapTriangles());
        break;
    }
    case 2:
    case 3: {
        // Every corner of a wedge gets both edge ends; the wedge buffer's corner numbers
        // tell the vertex shader which corner to build.
        const int copies = Type == 2 ? 6 : 10;
        IndicesPerWedge = Type == 2 ? 24 : 48;
        const int edges = a.GetSilhouetteEdgeCount();
        if (edges == 0)
            return;
        if (copies * edges > WedgeVertexCapacity) {
            WedgeVertexCapacity = Grown(WedgeVertexCapacity, copies * edges);
            WedgeVertices->Resize(WedgeVertexCapacity);
        }
        float* out = static_cast<float*>(WedgeVertices->Map());
        const IMeshAdjacency::Edge* e = a.GetEdges();
        for (int i = 0; i < edges; ++i)
            for (int c = 0; c < copies; ++c) {
                std::memcpy(out, &e[i].A, 3 * sizeof(float));
                std::memcpy(out + 3, &e[i].B, 3 * sizeof(float));
                out += 6;
            }
        WedgeVertices->Unmap();
        break;
    }
    default:
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_ENUM,
                                      "Korvo::ShadowVolume::Update : Unknown <Type> parameter.");
    }
}

void ShadowVolume::DrawSteps(const ShadowVolumeDrawPlan::Steps& steps, int count)
{
    for (int i = 0; i < steps.Count; ++i) {
        GL::Device->SetRasterState(steps.State[i]);
        GL::Device->DrawElements(GL_TRIANGLES, 0, count);
    }
}

void ShadowVolume::DrawSides(const ShadowVolumeDrawPlan::Steps& steps)
{
    // The renderer has bound the quad buffer's indices and its "in_WCoord" stream.
    GL::Device->SetVertexAttributes(Sys::Ptr<const GL::VertexBuffer>(SideVertices));
    DrawSteps(steps, 6 * Adjacency->GetSilhouetteEdgeCount());
}

void ShadowVolume::BindCaps()
{
    GL::Device->SetVertexBuffer(MeshVertices);
    GL::Device->SetIndexBuffer(Sys::Ptr<const GL::IndexBuffer>(CapIndices));
}

void ShadowVolume::DrawCaps(const ShadowVolumeDrawPlan::Steps& steps)
{
    BindCaps();
    DrawSteps(steps, 3 * Adjacency->GetCapTriangleCount());
}

void ShadowVolume::EndAt(const Math::Vec3f& light, const Math::Vec3f& axis, float distance)
{
    EndLight = light;
    EndAxis = axis;
    EndDistance = distance;
    std::fill(PartAxes.begin(), PartAxes.end(), axis);
    std::fill(PartDistances.begin(), PartDistances.end(), distance);
    EndsByParts = false;
    AnyEnds = distance > 0.0f;
}

void ShadowVolume::EndPartAt(int part, const Math::Vec3f& axis, float distance)
{
    if (part < 0 || part >= static_cast<int>(PartAxes.size()))
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_PARAMETER,
                                      "Korvo::ShadowVolume::EndPartAt : No such part.");
    PartAxes[part] = axis;
    PartDistances[part] = distance;
    EndsByParts = true;
    AnyEnds = AnyEnds || distance > 0.0f;
}

Math::Vec3f ShadowVolume::FarPoint(const Math::Vec3f& light, const Math::Vec3f& axis,
                                   float distance, const Math::Vec3f& p)
{
    const Math::Vec3f ray = p - light;
    return light + ray * (distance / Math::Dot(ray, axis));
}

ShadowVolume::Vec4 ShadowVolume::Near(const Math::Vec3f& p) { return {p.x, p.y, p.z, 1.0f}; }

ShadowVolume::Vec4 ShadowVolume::Far(const Math::Vec3f& p, int part) const
{
    // Without an end plane anywhere, the program extrudes the streamed edge itself.
    if (!AnyEnds)
        return Near(p);
    // The sides' far vertices and the far caps' meet to the bit, the way the near caps meet
    // the sides' near edges: an edge and its corners are of one part. A position no face
    // uses (NoPart) takes the mesh's end.
    const bool ofPart = part < static_cast<int>(PartAxes.size());
    const float distance = ofPart ? PartDistances[part] : EndDistance;
    if (distance <= 0.0f) {
        const Math::Vec3f away = p - EndLight;
        return {away.x, away.y, away.z, 0.0f};
    }
    return Near(FarPoint(EndLight, ofPart ? PartAxes[part] : EndAxis, distance, p));
}

void ShadowVolume::DrawFarCaps(const ShadowVolumeDrawPlan::Steps& steps)
{
    if (!AnyEnds) {
        BindCaps();
        DrawSteps(steps, 3 * Adjacency->GetCapTriangleCount());
        return;
    }
    // On the end plane a face seen edge-on from the light lies flat, a sliver. One draw that
    // counts both faces closes the volume with the cap triangles themselves: the rasterizer
    // decides each triangle's side where it decides its pixels. Two draws, each culling one
    // side, may both cull such a sliver (the culling and the rasterizer can round its side
    // apart) and leave a crack along it; they draw a fan instead.
    if (steps.Count != 1 && EndsByParts)
        throw Sys::DeveloperException(
            Sys::DeveloperException::ERR_INVALID_CALL,
            "Korvo::ShadowVolume::DrawFarCaps : A volume ended by parts in two draws.");
    const int vertices = steps.Count == 1 ? static_cast<int>(Adjacency->GetPositions().size())
                                          : 3 * Adjacency->GetSilhouetteEdgeCount();
    if (vertices == 0)
        return;
    if (vertices > FarCapVertexCapacity) {
        FarCapVertexCapacity = Grown(FarCapVertexCapacity, vertices);
        FarCapVertices->Resize(FarCapVertexCapacity);
    }
    Vec4* out = static_cast<Vec4*>(FarCapVertices->Map());
    if (steps.Count == 1) {
        const std::vector<Math::Vec3f>& positions = Adjacency->GetPositions();
        const std::vector<uint16_t>& parts = Adjacency->GetPositionParts();
        for (size_t i = 0; i < positions.size(); ++i)
            *out++ = Far(positions[i], parts[i]);
        FarCapVertices->Unmap();
        GL::Device->SetVertexAttributes(Sys::Ptr<const GL::VertexBuffer>(FarCapVertices));
        GL::Device->SetIndexBuffer(Sys::Ptr<const GL::IndexBuffer>(CapIndices));
        DrawSteps(steps, 3 * Adjacency->GetCapTriangleCount());
        return;
    }
    // The fan: one triangle per silhouette edge to the point where the axis meets the plane.
    // Counted by their sides, its triangles add up to the region the silhouette's far edges
    // enclose, however the loops turn, and each shares its far edge with its side quad to
    // the bit. It is wound like the caps it stands for: the silhouette edges run the
    // light-facing triangles' way round, the others' the opposite way.
    const IMeshAdjacency::Edge* e = Adjacency->GetEdges();
    const Vec4 apex = Near(EndLight + EndAxis * EndDistance);
    const bool lit = Adjacency->CapsFaceLight();
    for (int i = 0; i < vertices / 3; ++i) {
        const Vec4 a = Far(e[i].A, e[i].Part), b = Far(e[i].B, e[i].Part);
        *out++ = lit ? a : b;
        *out++ = lit ? b : a;
        *out++ = apex;
    }
    FarCapVertices->Unmap();
    GL::Device->SetVertexAttributes(Sys::Ptr<const GL::VertexBuffer>(FarCapVertices));
    for (int i = 0; i < steps.Count; ++i) {
        GL::Device->SetRasterState(steps.State[i]);
        GL::Device->DrawArrays(GL_TRIANGLES, 0, vertices);
    }
}

void ShadowVolume::DrawWedges(const Sys::Ptr<const GL::IProgram> Programs[3],
                              const ShadowVolumeDrawPlan::WedgeSteps& steps, int wedgeCount,
                              const IWedgeScissor* scissor)
{
    // The renderer has bound the wedge buffer's indices and its "in_VertexData" stream.
    // Each batch is counted into the stencil, its inside written into alpha, and the
    // stencil cleared again, so that the counts of one batch never meet the next. The
    // scissor holds for all three draws, so the count leaves nothing outside it for the
    // clear to miss.
    GL::Device->SetVertexAttributes(Sys::Ptr<const GL::VertexBuffer>(WedgeVertices));
    const IMeshAdjacency::Edge* silhouette = Adjacency->GetEdges();
    const int edges = Adjacency->GetSilhouetteEdgeCount();
    ShadowVolumeDrawPlan::ForEachWedgeBatch(edges, wedgeCount, [&](int start, int n) {
        const int first = start * IndicesPerWedge, count = n * IndicesPerWedge;
        int rect[4];
        const bool scissored =
            scissor != nullptr && scissor->Rectangle(silhouette + start, n, rect);
        // Wedges that reach no lit surface in view change no pixel: their draws, and the
        // program and state changes between them, are left out.
        if (scissored && (rect[2] <= 0 || rect[3] <= 0))
            return;
        if (scissored) {
            glEnable(GL_SCISSOR_TEST);
            glScissor(rect[0], rect[1], rect[2], rect[3]);
        }
        for (int i = 0; i < 3; ++i) {
            GL::Device->SetRasterState(steps.State[i]);
            GL::Device->SetProgram(Programs[i]);
            GL::Device->DrawElements(GL_TRIANGLES, first, count);
        }
        if (scissored)
            glDisable(GL_SCISSOR_TEST);
    });
}

} // namespace Korvo
