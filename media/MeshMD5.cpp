#include "media/MeshMD5.h"

#include "gl/IRenderDevice.h"
#include "gl/IndexBuffer.h"
#include "gl/VertexBuffer.h"
#include "media/ISkeleton.h"
#include "media/MeshGeometry.h"
#include "shadow/MeshAdjacencyMD5.h"
#include "shadow/ShadowVolume.h"

namespace Korvo {

MeshMD5::MeshMD5(const Media::MeshDataMD5& mesh, Sys::Ptr<ISkeleton> skeleton)
    : ISkinnedMesh("MeshMD5"), Skin(mesh, *skeleton), Skeleton(skeleton)
{
    Triangles = Skin.GetTriangles();
    Positions = Skin.GetBindPositions();
    SkinnedPositions = Positions;

    // The adjacency's faces point into SkinnedPositions, which keeps its size from here on.
    Adjacency = Sys::Ptr<IMeshAdjacency>(new MeshAdjacencyMD5(SkinnedPositions, Triangles));

    GL::VertexFormat format;
    for (int attribute = 0; attribute < 4; ++attribute)
        format.AddAttribute(attribute, 3, GL_FLOAT);
    format.Compile();
    VertexBuffer = Sys::Ptr<GL::VertexBuffer>(
        new GL::VertexBuffer(format, static_cast<int>(Positions.size()), GL_STREAM_DRAW));
    IndexBuffer = Sys::Ptr<GL::IndexBuffer>(
        new GL::IndexBuffer(static_cast<int>(Triangles.size() * 3), GL_STATIC_DRAW));
    IndexBuffer->SetData(static_cast<int>(Triangles.size() * 3), Triangles[0].data());
    ShadowVolume = Sys::Ptr<IShadowVolume>(
        new Korvo::ShadowVolume(Sys::Ptr<const GL::VertexBuffer>(VertexBuffer), Adjacency));

    Update(*skeleton);
}

MeshMD5::~MeshMD5() = default;

void MeshMD5::Update(const ISkeleton& frame)
{
    float* stream = static_cast<float*>(VertexBuffer->Map());
    try {
        Skin.Skin(frame, stream, SkinnedPositions.data());
    } catch (...) {
        VertexBuffer->Unmap();
        throw;
    }
    VertexBuffer->Unmap();
    MeshGeometry::Bounds(SkinnedPositions, BoundsMin, BoundsMax);
    Adjacency->Update();
}

void MeshMD5::Draw()
{
    GL::Device->SetVertexBuffer(Sys::Ptr<const GL::VertexBuffer>(VertexBuffer));
    GL::Device->SetIndexBuffer(Sys::Ptr<const GL::IndexBuffer>(IndexBuffer));
    GL::Device->DrawElements(GL_TRIANGLES, 0, static_cast<int>(Triangles.size() * 3));
}

} // namespace Korvo
