#include "media/Mesh3DS.h"

#include "gl/IRenderDevice.h"
#include "gl/IndexBuffer.h"
#include "gl/VertexBuffer.h"
#include "media/MeshGeometry.h"
#include "shadow/ShadowVolume.h"
#include "shadow/StaticMeshAdjacency.h"

#include <algorithm>
#include <cstring>

namespace Korvo {

std::vector<float> Mesh3DS::Interleave(const std::vector<Math::Vec3f>& P,
                                       const std::vector<Math::Vec3f>& N)
{
    std::vector<float> data;
    data.reserve(P.size() * 6);
    for (size_t i = 0; i < P.size(); ++i)
        data.insert(data.end(), {P[i].x, P[i].y, P[i].z, N[i].x, N[i].y, N[i].z});
    return data;
}

Mesh3DS::Mesh3DS(const std::string& name, const Media::MeshRecord3DS& record, bool castShadows)
    : IStaticMesh("Mesh3DS")
{
    (void)name;
    Positions = record.Vertices;
    Triangles.reserve(record.Faces.size());
    for (const auto& f : record.Faces)
        Triangles.push_back({f[0], f[1], f[2]});
    // Corners outside the vertex list would be read past; such a file is refused.
    MeshGeometry::CheckTriangles(Positions.size(), Triangles);

    const std::vector<Math::Vec3f> normals = MeshGeometry::Normals(Positions, Triangles);

    GL::VertexFormat format;
    format.AddAttribute(0, 3, GL_FLOAT);
    format.AddAttribute(1, 3, GL_FLOAT);
    format.Compile();
    // GL buffers hold at least one element; an object without geometry draws nothing.
    const int vertices = std::max<int>(1, static_cast<int>(Positions.size()));
    VertexBuffer = Sys::Ptr<GL::VertexBuffer>(new GL::VertexBuffer(format, vertices, GL_STATIC_DRAW));
    if (!Positions.empty()) {
        const std::vector<float> data = Interleave(Positions, normals);
        void* target = VertexBuffer->Map();
        std::memcpy(target, data.data(), data.size() * sizeof(float));
        VertexBuffer->Unmap();
    }
    const int indices = std::max<int>(1, static_cast<int>(Triangles.size() * 3));
    IndexBuffer = Sys::Ptr<GL::IndexBuffer>(new GL::IndexBuffer(indices, GL_STATIC_DRAW));
    if (!Triangles.empty())
        IndexBuffer->SetData(static_cast<int>(Triangles.size() * 3), Triangles[0].data());

    MeshGeometry::Bounds(Positions, BoundsMin, BoundsMax);

    if (castShadows) {
        Sys::Ptr<StaticMeshAdjacency> adjacency(new StaticMeshAdjacency(Positions, Triangles));
        Adjacency = adjacency;
        ShadowVolume = Sys::Ptr<IShadowVolume>(
            new Korvo::ShadowVolume(Sys::Ptr<const GL::VertexBuffer>(VertexBuffer), Adjacency));
    }
}

Mesh3DS::~Mesh3DS() = default;

void Mesh3DS::Draw()
{
    GL::Device->SetVertexBuffer(Sys::Ptr<const GL::VertexBuffer>(VertexBuffer));
    GL::Device->SetIndexBuffer(Sys::Ptr<const GL::IndexBuffer>(IndexBuffer));
    GL::Device->DrawElements(GL_TRIANGLES, 0, static_cast<int>(Triangles.size() * 3));
}

} // namespace Korvo
