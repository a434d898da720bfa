#include "shadow/StaticMeshAdjacency.h"

#include "app/Exception.h"
#include "shadow/AdjacencySearch.h"

namespace Korvo {

namespace {

void CheckIndices(const std::vector<Math::Vec3f>& P,
                  const std::vector<StaticMeshAdjacency::Triangle>& T)
{
    for (size_t t = 0; t < T.size(); ++t)
        for (uint16_t index : T[t])
            if (index >= P.size())
                throw Sys::Exception("Face #%zu uses vertex %u of %zu.", t, unsigned(index),
                                     P.size());
}

} // namespace

std::vector<int> StaticMeshAdjacency::Link(const std::vector<Math::Vec3f>& P,
                                           const std::vector<Triangle>& T)
{
    CheckIndices(P, T);
    AdjacencySearch search(P, T);
    std::vector<int> neighbours(T.size() * 3);
    for (size_t t = 0; t < T.size(); ++t)
        for (int k = 0; k < 3; ++k) {
            const int u = search.Find(static_cast<int>(t), k);
            if (u < 0)
                throw Sys::Exception("Non-adjacent face #%d.", static_cast<int>(t));
            neighbours[3 * t + k] = u;
        }
    return neighbours;
}

std::vector<int> StaticMeshAdjacency::LinkLiteral(const std::vector<Math::Vec3f>& P,
                                                  const std::vector<Triangle>& T)
{
    CheckIndices(P, T);
    std::vector<int> neighbours(T.size() * 3);
    for (size_t t = 0; t < T.size(); ++t)
        for (int k = 0; k < 3; ++k)
            neighbours[3 * t + k] = AdjacencySearch::FindLiteral(P, T, static_cast<int>(t), k);
    return neighbours;
}

StaticMeshAdjacency::StaticMeshAdjacency(const std::vector<Math::Vec3f>& positions,
                                         const std::vector<Triangle>& triangles)
    : IStaticMeshAdjacency(&positions)
{
    const std::vector<int> neighbours = Link(positions, triangles);
    ReserveLists(neighbours);

    Faces.resize(triangles.size());
    for (size_t t = 0; t < triangles.size(); ++t) {
        Face& f = Faces[t];
        for (int k = 0; k < 3; ++k) {
            f.Indices[k] = triangles[t][k];
            f.Corners[k] = positions[triangles[t][k]];
            f.Neighbours[k] = &Faces[neighbours[3 * t + k]];
        }
        const Math::Vec3f n = Math::Cross(f.Corners[1] - f.Corners[0], f.Corners[2] - f.Corners[0]);
        f.Plane[0] = n.x;
        f.Plane[1] = n.y;
        f.Plane[2] = n.z;
        f.Plane[3] = -Math::Dot(n, f.Corners[0]);
    }
}

void StaticMeshAdjacency::UpdateFacing(const Math::Vec3f& L)
{
    // A light exactly in a face's plane counts as facing it.
    for (Face& f : Faces)
        f.FacesLight = f.Plane[0] * L.x + f.Plane[1] * L.y + f.Plane[2] * L.z + f.Plane[3] >= 0.0f;
}

int StaticMeshAdjacency::BuildLists(int Type)
{
    if (Type == 0) {
        // Each silhouette edge is emitted once, by its lit face, in that face's winding.
        // The array was sized at construction for the longest possible silhouette; the
        // test here only guards against writing past it.
        int count = 0;
        for (const Face& f : Faces) {
            if (!f.FacesLight)
                continue;
            for (int k = 0; k < 3; ++k)
                if (!f.Neighbours[k]->FacesLight && count < EdgeCapacity)
                    Edges[count++] = {f.Corners[k], f.Corners[(k + 1) % 3]};
        }
        SilhouetteEdgeCount = count;
        return count;
    }
    const bool lit = Type == 1;
    int count = 0;
    for (const Face& f : Faces) {
        if (f.FacesLight != lit || count >= Capacity)
            continue;
        for (int k = 0; k < 3; ++k)
            CapTriangles[3 * count + k] = f.Indices[k];
        ++count;
    }
    CapTriangleCount = count;
    return count;
}

} // namespace Korvo
