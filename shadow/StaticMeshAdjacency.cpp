#include "shadow/StaticMeshAdjacency.h"

#include "app/Exception.h"
#include "shadow/AdjacencySearch.h"

namespace Korvo {

std::vector<int> StaticMeshAdjacency::Link(const std::vector<Math::Vec3f>& P,
                                           const std::vector<Triangle>& T)
{
    AdjacencySearch::CheckIndices(P, T);
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
    AdjacencySearch::CheckIndices(P, T);
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
        SetPlane(f);
    }
    NumberParts(neighbours);
}

} // namespace Korvo
