#pragma once

#include "tools/contentgen/Xform.h"

#include <array>
#include <string>
#include <vector>

namespace Content {

// A triangle list in engine space (y up), counter-clockwise seen from outside, so that
// (P1 - P0) x (P2 - P0) points out of the solid. Every vertex carries texture coordinates;
// hard edges are made of separate vertices at the same place.
class TriMesh {
public:
    struct TexCoord {
        double u = 0, v = 0;
    };

    std::string Name;
    std::vector<Vec3d> Positions;
    std::vector<TexCoord> TexCoords;
    std::vector<std::array<int, 3>> Triangles;

    int AddVertex(const Vec3d& p, double u, double v);
    void AddTriangle(int a, int b, int c) { Triangles.push_back({a, b, c}); }
    void Append(const TriMesh& other);
    void Append(const TriMesh& other, const Xform& placement);
    void Transform(const Xform& placement);
    int TriangleCount() const { return int(Triangles.size()); }
    void Bounds(Vec3d& lo, Vec3d& hi) const;
};

} // namespace Content
