#include "shadow/IMeshAdjacency.h"

#include "app/DeveloperException.h"
#include "app/Exception.h"

#include <algorithm>
#include <limits>
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

std::vector<uint16_t> IMeshAdjacency::LabelParts(const std::vector<uint16_t>& corners,
                                                 const std::vector<int>& neighbours)
{
    // Faces hang together through a neighbour or through a position they both use: a far
    // cap moves each position onto its part's end plane, so a position has one part.
    const size_t faces = neighbours.size() / 3;
    std::vector<size_t> root(faces);
    for (size_t t = 0; t < faces; ++t)
        root[t] = t;
    const auto find = [&root](size_t t) {
        while (root[t] != t)
            t = root[t] = root[root[t]];
        return t;
    };
    const auto join = [&](size_t a, size_t b) { root[find(a)] = find(b); };
    constexpr size_t unused = static_cast<size_t>(-1);
    std::vector<size_t> firstUser(Positions->size(), unused);
    for (size_t t = 0; t < faces; ++t)
        for (int k = 0; k < 3; ++k) {
            if (neighbours[3 * t + k] >= 0)
                join(t, static_cast<size_t>(neighbours[3 * t + k]));
            size_t& user = firstUser[corners[3 * t + k]];
            if (user == unused)
                user = t;
            else
                join(t, user);
        }

    // Faces number at most Capacity, so the parts fit below NoPart.
    std::vector<uint16_t> faceParts(faces, NoPart), rootParts(faces, NoPart);
    uint16_t parts = 0;
    for (size_t t = 0; t < faces; ++t) {
        uint16_t& part = rootParts[find(t)];
        if (part == NoPart)
            part = parts++;
        faceParts[t] = part;
    }
    PositionParts.assign(Positions->size(), NoPart);
    for (size_t t = 0; t < faces; ++t)
        for (int k = 0; k < 3; ++k)
            PositionParts[corners[3 * t + k]] = faceParts[t];
    PartMin.assign(std::max<uint16_t>(parts, 1), Math::Vec3f());
    PartMax.assign(PartMin.size(), Math::Vec3f());
    UpdatePartBounds();
    return faceParts;
}

void IMeshAdjacency::UpdatePartBounds()
{
    const float inf = std::numeric_limits<float>::infinity();
    std::fill(PartMin.begin(), PartMin.end(), Math::Vec3f(inf, inf, inf));
    std::fill(PartMax.begin(), PartMax.end(), Math::Vec3f(-inf, -inf, -inf));
    const std::vector<Math::Vec3f>& positions = *Positions;
    for (size_t i = 0; i < positions.size(); ++i) {
        const uint16_t part = PositionParts[i];
        if (part == NoPart)
            continue;
        const Math::Vec3f& p = positions[i];
        Math::Vec3f& lo = PartMin[part];
        Math::Vec3f& hi = PartMax[part];
        lo = Math::Vec3f(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
        hi = Math::Vec3f(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
    }
}

} // namespace Korvo
