#include "shadow/AdjacencySearch.h"

#include <algorithm>
#include <cmath>

namespace Korvo {

namespace {

constexpr double CellSize = 0.0625;
// Cell coordinates are clamped into 21 bits; points beyond share border cells, which
// costs only time, since every candidate is tested by distance anyway.
constexpr int64_t CellLimit = (int64_t(1) << 20) - 2;

} // namespace

bool AdjacencySearch::CellOf(const Math::Vec3f& p, int64_t cell[3])
{
    for (int i = 0; i < 3; ++i) {
        const double v = p[i];
        if (!std::isfinite(v))
            return false;
        const double c = std::floor(v / CellSize);
        cell[i] = c < -double(CellLimit) ? -CellLimit
                  : c > double(CellLimit) ? CellLimit
                                          : static_cast<int64_t>(c);
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
    byIndex.reserve(triangles.size() * 3);
    byCell.reserve(triangles.size() * 3);
    for (size_t t = 0; t < triangles.size(); ++t) {
        for (int j = 0; j < 3; ++j) {
            const uint16_t from = triangles[t][j];
            const uint16_t to = triangles[t][(j + 1) % 3];
            const uint32_t slot = static_cast<uint32_t>(3 * t + j);
            byIndex.push_back({(uint64_t(from) << 16) | to, slot});
            int64_t cell[3];
            if (CellOf(positions[from], cell))
                byCell.push_back({CellKey(cell), slot});
        }
    }
    std::sort(byIndex.begin(), byIndex.end());
    std::sort(byCell.begin(), byCell.end());
}

int AdjacencySearch::Find(int t, int k, const std::vector<char>* Alive) const
{
    const uint16_t a = triangles[t][k];
    const uint16_t b = triangles[t][(k + 1) % 3];
    auto usable = [&](uint32_t u) {
        return u != static_cast<uint32_t>(t) && (Alive == nullptr || (*Alive)[u]);
    };

    // Index match: the reversed edge b -> a, first in (triangle, edge) order.
    const uint64_t key = (uint64_t(b) << 16) | a;
    for (auto it = std::lower_bound(byIndex.begin(), byIndex.end(), Entry{key, 0});
         it != byIndex.end() && it->Key == key; ++it)
        if (usable(it->Slot / 3))
            return static_cast<int>(it->Slot / 3);

    // Position match around the start point b of the reversed edge.
    const Math::Vec3f& pa = positions[a];
    const Math::Vec3f& pb = positions[b];
    int64_t centre[3];
    if (!CellOf(pb, centre))
        return -1;
    uint32_t best = UINT32_MAX;
    int64_t cell[3];
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dz = -1; dz <= 1; ++dz) {
                cell[0] = centre[0] + dx;
                cell[1] = centre[1] + dy;
                cell[2] = centre[2] + dz;
                if (std::abs(cell[0]) > CellLimit || std::abs(cell[1]) > CellLimit ||
                    std::abs(cell[2]) > CellLimit)
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
