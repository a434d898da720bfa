#pragma once

// Models made of meshes that are nothing but their bounding boxes, for the tests of what
// is decided from bounds alone (lights' ranges, shadow reach).

#include "media/IMesh.h"
#include "shadow/StaticMeshAdjacency.h"
#include "world/IStaticModel.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace Test {

class BoxMesh : public Korvo::IMesh {
public:
    BoxMesh(Math::Vec3f lo, Math::Vec3f hi) : IMesh("Box")
    {
        BoundsMin = lo;
        BoundsMax = hi;
    }
    std::string GetTypeName() const override { return "BoxMesh"; }
    void Draw() override {}
};

// A mesh of the given triangles, its box around them.
class TriangleMesh : public Korvo::IMesh {
public:
    TriangleMesh(std::vector<Math::Vec3f> positions, std::vector<Triangle> triangles)
        : IMesh("Triangles")
    {
        Positions = std::move(positions);
        Triangles = std::move(triangles);
        BoundsMin = BoundsMax = Positions[0];
        for (const Math::Vec3f& p : Positions)
            for (int i = 0; i < 3; ++i) {
                BoundsMin[i] = std::min(BoundsMin[i], p[i]);
                BoundsMax[i] = std::max(BoundsMax[i], p[i]);
            }
    }
    std::string GetTypeName() const override { return "TriangleMesh"; }
    void Draw() override {}
};

// A mesh of the given triangles that casts shadows: a closed one, with its adjacency.
class CasterMesh : public TriangleMesh {
public:
    CasterMesh(std::vector<Math::Vec3f> positions, std::vector<Triangle> triangles)
        : TriangleMesh(std::move(positions), std::move(triangles))
    {
        Adjacency = Sys::Ptr<Korvo::IMeshAdjacency>(
            new Korvo::StaticMeshAdjacency(Positions, Triangles));
    }
    std::string GetTypeName() const override { return "CasterMesh"; }
};

// The corners and the twelve triangles (wound outwards) of boxes' faces, each box given by
// its lowest and highest corner.
inline void AddCubes(std::initializer_list<std::pair<Math::Vec3f, Math::Vec3f>> boxes,
                     std::vector<Math::Vec3f>& corners, std::vector<Korvo::IMesh::Triangle>& faces)
{
    for (const auto& [lo, hi] : boxes) {
        const uint16_t first = static_cast<uint16_t>(corners.size());
        for (int i = 0; i < 8; ++i)
            corners.push_back(
                Math::Vec3f(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z));
        for (const Korvo::IMesh::Triangle& t :
             std::vector<Korvo::IMesh::Triangle>{{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6},
                                                 {0, 1, 4}, {1, 5, 4}, {2, 6, 3}, {3, 6, 7},
                                                 {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}})
            faces.push_back({static_cast<uint16_t>(first + t[0]),
                             static_cast<uint16_t>(first + t[1]),
                             static_cast<uint16_t>(first + t[2])});
    }
}

inline Sys::Ptr<Korvo::IMesh> CubeMesh(Math::Vec3f lo, Math::Vec3f hi)
{
    std::vector<Math::Vec3f> corners;
    std::vector<Korvo::IMesh::Triangle> faces;
    AddCubes({{lo, hi}}, corners, faces);
    return Sys::Ptr<Korvo::IMesh>(new TriangleMesh(corners, faces));
}

// One closed mesh of all the boxes, which casts shadows.
inline Sys::Ptr<Korvo::IMesh> CasterCubes(
    std::initializer_list<std::pair<Math::Vec3f, Math::Vec3f>> boxes)
{
    std::vector<Math::Vec3f> corners;
    std::vector<Korvo::IMesh::Triangle> faces;
    AddCubes(boxes, corners, faces);
    return Sys::Ptr<Korvo::IMesh>(new CasterMesh(corners, faces));
}

class BoxModel : public Korvo::IStaticModel {
public:
    std::string GetTypeName() const override { return "BoxModel"; }
};

// One mesh per box, in model space.
inline Sys::Ptr<Korvo::IModel> ModelWithBoxes(
    std::initializer_list<std::pair<Math::Vec3f, Math::Vec3f>> boxes)
{
    Sys::Ptr<BoxModel> model(new BoxModel);
    for (const auto& box : boxes)
        model->Meshes.push_back(Sys::Ptr<Korvo::IMesh>(new BoxMesh(box.first, box.second)));
    return model;
}

} // namespace Test
