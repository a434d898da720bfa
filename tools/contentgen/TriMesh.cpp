#include "tools/contentgen/TriMesh.h"

#include <algorithm>

namespace Content {

int TriMesh::AddVertex(const Vec3d& p, double u, double v)
{
    Positions.push_back(p);
    TexCoords.push_back({u, v});
    return int(Positions.size()) - 1;
}

void TriMesh::Append(const TriMesh& other)
{
    Append(other, Xform());
}

void TriMesh::Append(const TriMesh& other, const Xform& placement)
{
    const int base = int(Positions.size());
    for (const Vec3d& p : other.Positions)
        Positions.push_back(placement.Apply(p));
    TexCoords.insert(TexCoords.end(), other.TexCoords.begin(), other.TexCoords.end());
    for (const auto& t : other.Triangles)
        Triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
}

void TriMesh::Transform(const Xform& placement)
{
    for (Vec3d& p : Positions)
        p = placement.Apply(p);
}

void TriMesh::Bounds(Vec3d& lo, Vec3d& hi) const
{
    lo = hi = Positions.empty() ? Vec3d() : Positions.front();
    for (const Vec3d& p : Positions)
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], p[i]);
            hi[i] = std::max(hi[i], p[i]);
        }
}

} // namespace Content
