#include "shadow/AdjacencySearch.h"

#include "app/Exception.h"

#include <algorithm>
#include <cmath>

namespace Korvo {

namespace {

constexpr double CellSize = 0.125;
// Cell coordinates are clamped into 21 bits; points beyond share border cells, which
// costs only time, since every candidate is tested by distance anyway.
constexpr int64_t CellLimit = (int64_t(1) << 20) - 2;

} // namespace

void AdjacencySearch::CheckIndices(const std::vector<Math::Vec3f>& P,
                                   const std::vector<Triangle>& T)
{
    for (size_t t = 0; t < T.size(); ++t)
        for (uint16_t index : T[t])
            if (index >= P.size())
                throw Sys::Exception("Face #%zu uses vertex %u of %zu.", t, unsigned(index),
                                     P.size());
}

bool AdjacencySearch::CellOf(const Math::Vec3f& p, int64_t cell[3], int near[3])
{
    for (int i = 0; i < 3; ++i) {
        const double v = p[i];
        if (!std::isfinite(v))
            return false;
        const double scaled = v / CellSize;
        const double c = std::floor(scaled);
        cell[i] = c < -double(CellLimit) ? -CellLimit
                  : c > double(CellLimit) ? CellLimit
                                          : static_cast<int64_t>(c);
        near[i] = scaled - c < 0.5 ? -1 : 1;
    }
    return true;
}

uint64_t AdjacencySearch::CellKey(const int64_t cell[3])
{
    const uint64_t mask = (uint64_t(1) << 21) - 1;
    return ((uint64_t(cell[0] + CellLimit + 1) & mask) << 42) |
           ((uint64_t(cell[1] + CellLimit + 1) & mask) << 21) |
           (uint64_t(cell[2] + CellLimit + 1) & mask);
}

AdjacencySearch::AdjacencySearch(const std::vector<Math::Vec3f>& Positions,
                                 const std::vector<Triangle>& Triangles)
    : positions(Positions), triangles(Triangles)
{
    // Counting sort of the edges by start vertex; filling in slot order keeps every
    // vertex's list in (triangle, edge) order.
    startOffsets.assign(positions.size() + 1, 0);
    for (const Triangle& t : triangles)
        for (uint16_t v : t)
            ++startOffsets[v + 1];
    for (size_t v = 0; v < positions.size(); ++v)
        startOffsets[v + 1] += startOffsets[v];
    edgesByStart.resize(triangles.size() * 3);
    std::vector<uint32_t> fill(startOffsets.begin(), startOffsets.end() - 1);
    for (size_t t = 0; t < triangles.size(); ++t)
        for (int j = 0; j < 3; ++j)
            edgesByStart[fill[triangles[t][j]]++] = static_cast<uint32_t>(3 * t + j);
}

void AdjacencySearch::BuildGrid() const
{
    byCell.reserve(triangles.size() * 3);
    for (size_t t = 0; t < triangles.size(); ++t)
        for (int j = 0; j < 3; ++j) {
            int64_t cell[3];
            int near[3];
            if (CellOf(positions[triangles[t][j]], cell, near))
                byCell.push_back({CellKey(cell), static_cast<uint32_t>(3 * t + j)});
        }
    std::sort(byCell.begin(), byCell.end());
    gridBuilt = true;
}

int AdjacencySearch::Find(int t, int k, const std::vector<char>* Alive) const
{
    const uint16_t a = triangles[t][k];
    const uint16_t b = triangles[t][(k + 1) % 3];
    auto usable = [&](uint32_t u) {
        return u != static_cast<uint32_t>(t) && (Alive == nullptr || (*Alive)[u]);
    };

    // Index match: the reversed edge b -> a, first in (triangle, edge) order.
    for (uint32_t i = startOffsets[b]; i < startOffsets[b + 1]; ++i) {
        const uint32_t slot = edgesByStart[i];
        const uint32_t u = slot / 3;
        if (triangles[u][(slot % 3 + 1) % 3] == a && usable(u))
            return static_cast<int>(u);
    }

    // Position match around the start point b of the reversed edge.
    const Math::Vec3f& pa = positions[a];
    const Math::Vec3f& pb = positions[b];
    int64_t centre[3];
    int near[3];
    if (!CellOf(pb, centre, near))
        return -1;
    if (!gridBuilt)
        BuildGrid();
    uint32_t best = UINT32_MAX;
    int64_t cell[3];
    for (int corner = 0; corner < 8; ++corner) {
        bool inside = true;
        for (int i = 0; i < 3; ++i) {
            cell[i] = centre[i] + ((corner >> i) & 1 ? near[i] : 0);
            inside = inside && std::abs(cell[i]) <= CellLimit;
        }
        if (!inside)
            continue;
        const uint64_t ck = CellKey(cell);
        for (auto it = std::lower_bound(byCell.begin(), byCell.end(), Entry{ck, 0});
             it != byCell.end() && it->Key == ck && it->Slot < best; ++it) {
            const uint32_t u = it->Slot / 3;
            const int j = static_cast<int>(it->Slot % 3);
            if (!usable(u))
                continue;
            const Triangle& tu = triangles[u];
            if (Within(positions[tu[(j + 1) % 3]], pa) && Within(positions[tu[j]], pb))
                best = it->Slot;
        }
    }
    return best == UINT32_MAX ? -1 : static_cast<int>(best / 3);
}

int AdjacencySearch::FindLiteral(const std::vector<Math::Vec3f>& P,
                                 const std::vector<Triangle>& T, int t, int k,
                                 const std::vector<char>* Alive)
{
    const uint16_t a = T[t][k];
    const uint16_t b = T[t][(k + 1) % 3];
    const int count = static_cast<int>(T.size());
    for (int u = 0; u < count; ++u) {
        if (u == t || (Alive != nullptr && !(*Alive)[u]))
            continue;
        for (int j = 0; j < 3; ++j)
            if (T[u][j] == b && T[u][(j + 1) % 3] == a)
                return u;
    }
    for (int u = 0; u < count; ++u) {
        if (u == t || (Alive != nullptr && !(*Alive)[u]))
            continue;
        for (int j = 0; j < 3; ++j)
            if (Within(P[T[u][(j + 1) % 3]], P[a]) && Within(P[T[u][j]], P[b]))
                return u;
    }
    return -1;
}

} // namespace Korvo
