#include "shadow/MeshAdjacencyMD5.h"

#include "app/Exception.h"
#include "shadow/AdjacencySearch.h"

namespace Korvo {

namespace {

// Removes, pass by pass, every face that misses a neighbour among the faces still in;
// all faces of one pass are judged against the same set.
template <class FindNeighbour>
std::vector<char> Peel(size_t count, FindNeighbour find)
{
    std::vector<char> alive(count, 1);
    std::vector<int> removed;
    do {
        removed.clear();
        for (size_t t = 0; t < count; ++t) {
            if (!alive[t])
                continue;
            for (int k = 0; k < 3; ++k)
                if (find(static_cast<int>(t), k, alive) < 0) {
                    removed.push_back(static_cast<int>(t));
                    break;
                }
        }
        for (int t : removed)
            alive[t] = 0;
    } while (!removed.empty());
    return alive;
}

} // namespace

std::vector<char> MeshAdjacencyMD5::ValidFaces(const std::vector<Math::Vec3f>& P,
                                               const std::vector<Triangle>& T)
{
    AdjacencySearch::CheckIndices(P, T);
    AdjacencySearch search(P, T);
    return Peel(T.size(), [&](int t, int k, const std::vector<char>& alive) {
        return search.Find(t, k, &alive);
    });
}

std::vector<char> MeshAdjacencyMD5::ValidFacesLiteral(const std::vector<Math::Vec3f>& P,
                                                      const std::vector<Triangle>& T)
{
    AdjacencySearch::CheckIndices(P, T);
    return Peel(T.size(), [&](int t, int k, const std::vector<char>& alive) {
        return AdjacencySearch::FindLiteral(P, T, t, k, &alive);
    });
}

MeshAdjacencyMD5::MeshAdjacencyMD5(const std::vector<Math::Vec3f>& positions,
                                   const std::vector<Triangle>& triangles)
    : ISkinnedMeshAdjacency(&positions)
{
    AdjacencySearch::CheckIndices(positions, triangles);
    AdjacencySearch search(positions, triangles);
    const std::vector<char> alive = Peel(
        triangles.size(),
        [&](int t, int k, const std::vector<char>& in) { return search.Find(t, k, &in); });

    std::vector<int> record(triangles.size(), -1);
    std::vector<int> valid;
    for (size_t t = 0; t < triangles.size(); ++t)
        if (alive[t]) {
            record[t] = static_cast<int>(valid.size());
            valid.push_back(static_cast<int>(t));
        }

    std::vector<int> neighbours(valid.size() * 3);
    for (size_t i = 0; i < valid.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            const int u = search.Find(valid[i], k, &alive);
            if (u < 0)
                throw Sys::Exception("Non-adjacent face in <ValidFaces>");
            neighbours[3 * i + k] = record[u];
        }
    ReserveLists(neighbours);

    Faces.resize(valid.size());
    for (size_t i = 0; i < valid.size(); ++i) {
        Face& f = Faces[i];
        for (int k = 0; k < 3; ++k) {
            f.Indices[k] = triangles[valid[i]][k];
            f.Corners[k] = &positions[f.Indices[k]];
            f.Neighbours[k] = &Faces[neighbours[3 * i + k]];
        }
    }
    NumberParts(neighbours);
    Update();
}

void MeshAdjacencyMD5::Update()
{
    for (Face& f : Faces)
        SetPlane(f);
    if (GetPartCount() > 1)
        UpdatePartBounds();
}

} // namespace Korvo
