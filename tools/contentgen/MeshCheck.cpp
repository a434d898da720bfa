#include "tools/contentgen/MeshCheck.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <unordered_map>
#include <utility>

namespace Content {

namespace {

// Gives every position the id of the first earlier position within `weld`, looked up in a
// grid of cells one weld distance wide.
std::vector<int> WeldIds(const std::vector<Vec3d>& positions, double weld)
{
    struct Key {
        long long x, y, z;
        bool operator==(const Key& o) const { return x == o.x && y == o.y && z == o.z; }
    };
    struct Hash {
        size_t operator()(const Key& k) const
        {
            return size_t(k.x * 73856093LL ^ k.y * 19349663LL ^ k.z * 83492791LL);
        }
    };
    std::unordered_map<Key, std::vector<int>, Hash> grid;
    std::vector<int> ids(positions.size());
    auto cell = [weld](double v) { return (long long)std::floor(v / weld); };
    for (size_t i = 0; i < positions.size(); ++i) {
        const Vec3d& p = positions[i];
        const Key k{cell(p.x), cell(p.y), cell(p.z)};
        int found = -1;
        for (long long dx = -1; dx <= 1 && found < 0; ++dx)
            for (long long dy = -1; dy <= 1 && found < 0; ++dy)
                for (long long dz = -1; dz <= 1 && found < 0; ++dz) {
                    auto it = grid.find({k.x + dx, k.y + dy, k.z + dz});
                    if (it == grid.end())
                        continue;
                    for (int j : it->second)
                        if ((positions[j] - p).Length() <= weld) {
                            found = ids[j];
                            break;
                        }
                }
        ids[i] = found >= 0 ? found : int(i);
        grid[k].push_back(int(i));
    }
    return ids;
}

} // namespace

ClosureReport CheckClosed(const TriMesh& mesh, double weld)
{
    ClosureReport report;
    const std::vector<int> ids = WeldIds(mesh.Positions, weld);
    std::map<std::pair<int, int>, int> directed;
    for (size_t t = 0; t < mesh.Triangles.size(); ++t) {
        const auto& tri = mesh.Triangles[t];
        const int a = ids[tri[0]], b = ids[tri[1]], c = ids[tri[2]];
        if (a == b || b == c || c == a) {
            if (report.Degenerate++ == 0 && report.FirstProblem.empty()) {
                char text[96];
                std::snprintf(text, sizeof text, "triangle %d collapses", int(t));
                report.FirstProblem = text;
            }
            continue;
        }
        ++directed[{a, b}];
        ++directed[{b, c}];
        ++directed[{c, a}];
    }
    for (const auto& [edge, count] : directed) {
        auto reverse = directed.find({edge.second, edge.first});
        const int partners = reverse == directed.end() ? 0 : reverse->second;
        const char* problem = nullptr;
        if (partners == 0) {
            ++report.OpenEdges;
            problem = "open";
        } else if (count > 1 || partners > 1) {
            ++report.CrowdedEdges;
            problem = "crowded";
        }
        if (problem && report.FirstProblem.empty()) {
            const Vec3d& p = mesh.Positions[edge.first];
            char text[128];
            std::snprintf(text, sizeof text, "%s edge at (%.2f, %.2f, %.2f)", problem, p.x, p.y,
                          p.z);
            report.FirstProblem = text;
        }
    }
    return report;
}

double SignedVolume(const TriMesh& mesh)
{
    double volume = 0;
    for (const auto& t : mesh.Triangles) {
        const Vec3d& a = mesh.Positions[t[0]];
        const Vec3d& b = mesh.Positions[t[1]];
        const Vec3d& c = mesh.Positions[t[2]];
        volume += Math::Dot(a, Math::Cross(b, c));
    }
    return volume / 6.0;
}

} // namespace Content
