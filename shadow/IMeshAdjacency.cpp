#include "shadow/IMeshAdjacency.h"

#include "app/DeveloperException.h"
#include "app/Exception.h"

#include <algorithm>
#include <unordered_map>

namespace Korvo {

IMeshAdjacency::IMeshAdjacency(const std::vector<Math::Vec3f>* positions)
    : Positions(positions), CapTriangles(new uint16_t[3 * Capacity])
{
}

void IMeshAdjacency::GetDesc(Desc* desc) const
{
    if (desc == nullptr)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_RAW_POINTER,
                                      "Korvo::IMeshAdjacency : Invalid <Desc> parameter.");
    desc->EdgeCapacity = EdgeCapacity;
    desc->CapTriangleCapacity = Capacity;
    desc->Reserved = Reserved;
    desc->Unused0 = 0;
    desc->Unused1 = 0;
}

void IMeshAdjacency::ReserveLists(const std::vector<int>& neighbours)
{
    const size_t faces = neighbours.size() / 3;
    // Per unordered face pair: edges from the lower face to the higher and back.
    std::unordered_map<uint64_t, std::pair<int, int>> pairs;
    pairs.reserve(neighbours.size());
    for (size_t t = 0; t < faces; ++t)
        for (int k = 0; k < 3; ++k) {
            const int u = neighbours[3 * t + k];
            if (u < 0)
                continue;
            const uint64_t lo = std::min<uint64_t>(t, u), hi = std::max<uint64_t>(t, u);
            auto& counts = pairs[(lo << 32) | hi];
            (t == lo ? counts.first : counts.second) += 1;
        }
    long long silhouette = 0;
    for (const auto& entry : pairs)
        silhouette += std::max(entry.second.first, entry.second.second);

    if (silhouette > MaxSilhouetteEdges || faces > size_t(Capacity))
        throw Sys::Exception(*this,
                             "Shadow caster too large: up to %lld silhouette edges (at most %d) "
                             "and %zu cap triangles (at most %d) possible.",
                             silhouette, MaxSilhouetteEdges, faces, Capacity);
    EdgeCapacity = std::max<int>(Capacity, static_cast<int>(silhouette));
    Edges.reset(new Edge[EdgeCapacity]);
}

} // namespace Korvo
