// Arbitrary bytes as a 3DS file: the reader either hands out objects or fails with a
// Sys::Exception; every object it hands out then goes through what the mesh does with it
// on the CPU (index check, normals, adjacency), which must also only ever throw.

#include "app/Exception.h"
#include "media/MemoryByteSource.h"
#include "media/MeshGeometry.h"
#include "media/ModelLoader3DS.h"
#include "shadow/StaticMeshAdjacency.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Media::MemoryByteSource source(data, size);
    try {
        Media::ModelLoader3DS::Parse(source, [](Media::MeshRecord3DS& record) {
            if (record.Vertices.size() > 65535 || record.Faces.size() > 65535)
                std::abort();
            if (!record.TexCoords.empty() && record.TexCoords.size() != record.Vertices.size())
                std::abort();
            std::vector<Korvo::MeshGeometry::Triangle> triangles;
            for (const auto& f : record.Faces)
                triangles.push_back({f[0], f[1], f[2]});
            try {
                Korvo::MeshGeometry::CheckTriangles(record.Vertices.size(), triangles);
                Korvo::MeshGeometry::Normals(record.Vertices, triangles);
                Korvo::StaticMeshAdjacency adjacency(record.Vertices, triangles);
                adjacency.UpdateFacing({1, 2, 3});
                if (adjacency.BuildLists(0) > adjacency.GetEdgeCapacity())
                    std::abort();
            } catch (const Sys::Exception&) {
            }
        });
    } catch (const Sys::Exception&) {
    }
    return 0;
}
