#include "shadow/AdjacencySearch.h"
#include "shadow/MeshAdjacencyMD5.h"
#include "shadow/StaticMeshAdjacency.h"
#include "tests/shadow/TestMeshes.h"

#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

using Korvo::AdjacencySearch;
using Korvo::MeshAdjacencyMD5;
using Korvo::StaticMeshAdjacency;
using TestMeshes::Mesh;

namespace {

// Outward-facing tetrahedron; face 0 (0, 2, 1) lies in z = 0 and faces -z.
Mesh Tetrahedron()
{
    Mesh m;
    m.Positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    m.Triangles = {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}};
    return m;
}

void ExpectSameAsLiteral(const Mesh& m, const std::vector<char>* alive = nullptr)
{
    AdjacencySearch search(m.Positions, m.Triangles);
    for (size_t t = 0; t < m.Triangles.size(); ++t)
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(search.Find(int(t), k, alive),
                      AdjacencySearch::FindLiteral(m.Positions, m.Triangles, int(t), k, alive))
                << "triangle " << t << " edge " << k;
}

} // namespace

TEST(AdjacencySearch, MatchesTheReversedEdge)
{
    Mesh m;
    m.Positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    m.Triangles = {{0, 1, 2}, {2, 1, 3}};
    AdjacencySearch search(m.Positions, m.Triangles);
    EXPECT_EQ(search.Find(0, 1), 1);   // 1 -> 2 against 2 -> 1
    EXPECT_EQ(search.Find(1, 0), 0);
    EXPECT_EQ(search.Find(0, 0), -1);
}

TEST(AdjacencySearch, FastSearchGivesTheLiteralAnswer)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        const Mesh m = TestMeshes::Random(400, 60 + 20 * seed, seed);
        ExpectSameAsLiteral(m);
        std::vector<char> alive(m.Triangles.size());
        for (size_t i = 0; i < alive.size(); ++i)
            alive[i] = (i * 7 + seed) % 3 != 0;
        ExpectSameAsLiteral(m, &alive);
    }
    ExpectSameAsLiteral(TestMeshes::Split(TestMeshes::Torus(12, 8), 0.02f, 3));
    // Jitter around the weld distance: some neighbours are missed, identically.
    ExpectSameAsLiteral(TestMeshes::Split(TestMeshes::Torus(10, 6), 0.03f, 4));

    Mesh odd = TestMeshes::Random(50, 20, 9);
    odd.Positions[0] = {std::nanf(""), 0, 0};
    odd.Positions[1] = {1e30f, -1e30f, 3e38f};
    odd.Positions[2] = {1e30f, -1e30f, 3e38f};
    ExpectSameAsLiteral(odd);

    const Mesh torus = TestMeshes::Split(TestMeshes::Torus(16, 10), 0.01f, 5);
    EXPECT_EQ(StaticMeshAdjacency::Link(torus.Positions, torus.Triangles),
              StaticMeshAdjacency::LinkLiteral(torus.Positions, torus.Triangles));
}

TEST(StaticMeshAdjacency, TetrahedronSilhouetteAndCaps)
{
    const Mesh m = Tetrahedron();
    StaticMeshAdjacency adjacency(m.Positions, m.Triangles);

    adjacency.UpdateFacing({0.2f, 0.2f, -5.0f});   // outside face 0 only
    EXPECT_EQ(adjacency.BuildLists(0), 3);
    EXPECT_EQ(adjacency.GetSilhouetteEdgeCount(), 3);
    // The edges come from face 0 in its winding: 0 -> 2, 2 -> 1, 1 -> 0.
    EXPECT_EQ(adjacency.GetEdges()[0].A, m.Positions[0]);
    EXPECT_EQ(adjacency.GetEdges()[0].B, m.Positions[2]);
    EXPECT_EQ(adjacency.GetEdges()[2].B, m.Positions[0]);
    EXPECT_EQ(adjacency.BuildLists(1), 1);
    EXPECT_EQ(adjacency.GetCapTriangles()[1], 2);
    EXPECT_EQ(adjacency.BuildLists(2), 3);
    EXPECT_EQ(adjacency.GetCapTriangleCount(), 3);
    EXPECT_EQ(adjacency.GetSilhouetteEdgeCount(), 3);   // kept from the type-0 call

    // A light in face 0's plane counts as facing it.
    adjacency.UpdateFacing({5.0f, 5.0f, 0.0f});
    EXPECT_TRUE(adjacency.GetFaces()[0].FacesLight);
}

// Three tetrahedra in one mesh: the first on its own, the third mirrored through the
// second's apex and sharing that vertex. A shared vertex joins two solids into one part:
// a far cap moves each vertex onto one part's end.
TEST(StaticMeshAdjacency, PartsAreTheSolidsThatShareNoVertex)
{
    const Mesh one = Tetrahedron();
    Mesh m;
    const Math::Vec3f shifts[2] = {{0, 0, 0}, {5, 0, 0}};
    for (const Math::Vec3f& shift : shifts) {
        const uint16_t first = static_cast<uint16_t>(m.Positions.size());
        for (const Math::Vec3f& p : one.Positions)
            m.Positions.push_back(p + shift);
        for (const auto& t : one.Triangles)
            m.Triangles.push_back({static_cast<uint16_t>(first + t[0]),
                                   static_cast<uint16_t>(first + t[1]),
                                   static_cast<uint16_t>(first + t[2])});
    }
    // The mirror image through vertex 7, (5, 0, 1), wound the other way round to face out.
    const uint16_t apex = 7, first = static_cast<uint16_t>(m.Positions.size());
    for (int i = 0; i < 3; ++i)
        m.Positions.push_back(m.Positions[apex] * 2.0f - m.Positions[4 + i]);
    const auto mirrored = [&](uint16_t i) {
        return i == 3 ? apex : static_cast<uint16_t>(first + i);
    };
    for (const auto& t : one.Triangles)
        m.Triangles.push_back({mirrored(t[0]), mirrored(t[2]), mirrored(t[1])});

    StaticMeshAdjacency adjacency(m.Positions, m.Triangles);
    ASSERT_EQ(adjacency.GetPartCount(), 2);
    const std::vector<uint16_t>& parts = adjacency.GetPositionParts();
    for (int i = 1; i < 4; ++i)
        EXPECT_EQ(parts[i], parts[0]);
    for (size_t i = 5; i < m.Positions.size(); ++i)
        EXPECT_EQ(parts[i], parts[4]);
    EXPECT_NE(parts[0], parts[4]);
    EXPECT_EQ(adjacency.GetPartMin(parts[0]), Math::Vec3f(0, 0, 0));
    EXPECT_EQ(adjacency.GetPartMax(parts[0]), Math::Vec3f(1, 1, 1));
    EXPECT_EQ(adjacency.GetPartMin(parts[4]), Math::Vec3f(4, -1, 0));
    EXPECT_EQ(adjacency.GetPartMax(parts[4]), Math::Vec3f(6, 1, 2));

    // Every silhouette edge carries the part of its corners.
    adjacency.UpdateFacing({2.5f, 0.3f, -20.0f});
    ASSERT_GT(adjacency.BuildLists(0), 6);
    for (int e = 0; e < adjacency.GetSilhouetteEdgeCount(); ++e) {
        const Korvo::IMeshAdjacency::Edge& edge = adjacency.GetEdges()[e];
        EXPECT_EQ(edge.Part, parts[edge.A.x < 3.0f ? 0 : 4]) << "edge " << e;
        EXPECT_EQ(edge.A.x < 3.0f, edge.B.x < 3.0f) << "edge " << e;
    }

    // The boxes follow the positions they are worked out from.
    m.Positions[9] = Math::Vec3f(4, -3, 2);
    adjacency.UpdatePartBounds();
    EXPECT_EQ(adjacency.GetPartMin(parts[4]), Math::Vec3f(4, -3, 0));
    EXPECT_EQ(adjacency.GetPartMax(parts[0]), Math::Vec3f(1, 1, 1));
}

TEST(StaticMeshAdjacency, RefusesOpenBrokenAndOversizedMeshes)
{
    // Face 3 rebuilt on copies of its vertices 0.04 away welds; 0.06 away, or missing,
    // leaves the mesh open.
    for (float gap : {0.04f, 0.06f, -1.0f}) {
        Mesh m = Tetrahedron();
        const Math::Vec3f shift(gap, 0, 0);
        for (int v : {0, 3, 2})
            m.Positions.push_back(m.Positions[v] + shift);
        m.Triangles[3] = {4, 5, 6};
        if (gap < 0)
            m.Triangles.pop_back();
        const std::string error = ErrorOf([&] { StaticMeshAdjacency a(m.Positions, m.Triangles); });
        EXPECT_EQ(error, gap == 0.04f ? "no failure" : "Non-adjacent face #0.") << gap;
    }
    Mesh bad = Tetrahedron();
    bad.Triangles[2][1] = 9;
    EXPECT_EQ(ErrorOf([&] { StaticMeshAdjacency a(bad.Positions, bad.Triangles); }),
              "Face #2 uses vertex 9 of 4.");

    // A closed torus of n triangles has 1.5 n edges, each of which could be a silhouette
    // edge: up to 2000 triangles keep the 3000-edge array, 3000 triangles get 4500 edges,
    // and more than 3000 triangles could exceed the cap array.
    const Mesh fits = TestMeshes::Torus(50, 20);
    Korvo::IMeshAdjacency::Desc desc;
    StaticMeshAdjacency(fits.Positions, fits.Triangles).GetDesc(&desc);
    EXPECT_EQ(desc.EdgeCapacity, 3000);
    const Mesh most = TestMeshes::Torus(75, 20);
    StaticMeshAdjacency large(most.Positions, most.Triangles);
    large.GetDesc(&desc);
    EXPECT_EQ(desc.EdgeCapacity, 4500);
    // A light inside the ring, level with it, sees a long silhouette: all of it is kept.
    large.UpdateFacing({0, 0, 0});
    const int edges = large.BuildLists(0);
    EXPECT_GT(edges, 0);
    EXPECT_LE(edges, 4500);
    EXPECT_EQ(large.BuildLists(1), 3000 - large.BuildLists(2));
    const Mesh big = TestMeshes::Torus(76, 20);
    EXPECT_EQ(ErrorOf([&] { StaticMeshAdjacency a(big.Positions, big.Triangles); }),
              "Korvo::StaticMeshAdjacency\n\nShadow caster too large: up to 4560 silhouette edges "
              "(at most 5000) and 3040 cap triangles (at most 3000) possible.");
}

TEST(MeshAdjacencyMD5, PeelsOpenBordersOnly)
{
    // An open strip loses every triangle, border by border.
    Mesh strip;
    for (int i = 0; i < 12; ++i)
        strip.Positions.push_back({float(i / 2), float(i % 2), 0});
    for (uint16_t i = 0; i + 2 < 12; ++i)
        strip.Triangles.push_back(i % 2 == 0 ? TestMeshes::Triangle{i, uint16_t(i + 1), uint16_t(i + 2)}
                                             : TestMeshes::Triangle{i, uint16_t(i + 2), uint16_t(i + 1)});
    MeshAdjacencyMD5 none(strip.Positions, strip.Triangles);
    EXPECT_TRUE(none.GetFaces().empty());
    none.UpdateFacing({0, 0, 1});
    EXPECT_EQ(none.BuildLists(0), 0);

    // A closed tetrahedron with a dangling triangle on one of its edges keeps exactly
    // its four faces.
    Mesh m = Tetrahedron();
    m.Positions.push_back({2, 2, 2});
    m.Triangles.insert(m.Triangles.begin() + 1, TestMeshes::Triangle{1, 0, 4});
    MeshAdjacencyMD5 closed(m.Positions, m.Triangles);
    ASSERT_EQ(closed.GetFaces().size(), 4u);
    EXPECT_EQ(closed.GetFaces()[1].Indices[2], 3);

    for (unsigned seed = 1; seed <= 4; ++seed) {
        const Mesh r = TestMeshes::Random(300, 40 + 10 * seed, seed);
        EXPECT_EQ(MeshAdjacencyMD5::ValidFaces(r.Positions, r.Triangles),
                  MeshAdjacencyMD5::ValidFacesLiteral(r.Positions, r.Triangles));
    }
}

TEST(MeshAdjacencyMD5, SilhouetteFollowsTheSkinnedPositions)
{
    Mesh m = Tetrahedron();
    std::vector<Math::Vec3f> skinned = m.Positions;
    MeshAdjacencyMD5 adjacency(skinned, m.Triangles);
    const Math::Vec3f light(0.2f, 0.2f, -0.5f);
    adjacency.UpdateFacing(light);
    EXPECT_EQ(adjacency.BuildLists(1), 1);
    EXPECT_EQ(adjacency.BuildLists(0), 3);

    // Pull the apex through the base, past the light: every face now faces it.
    skinned[3] = {0.2f, 0.2f, -1.0f};
    adjacency.UpdateFacing(light);
    EXPECT_EQ(adjacency.BuildLists(1), 1);   // planes not recomputed yet
    adjacency.Update();
    adjacency.UpdateFacing(light);
    EXPECT_EQ(adjacency.BuildLists(1), 4);
    EXPECT_EQ(adjacency.BuildLists(0), 0);

    // Moving the light back below the base shows edges at the moved apex's positions,
    // as an adjacency built on the new pose does.
    const Math::Vec3f below(0.2f, 0.2f, -3.0f);
    adjacency.UpdateFacing(below);
    std::vector<Math::Vec3f> copy = skinned;
    MeshAdjacencyMD5 fresh(copy, m.Triangles);
    fresh.UpdateFacing(below);
    ASSERT_EQ(adjacency.BuildLists(0), fresh.BuildLists(0));
    for (int i = 0; i < adjacency.GetSilhouetteEdgeCount(); ++i) {
        EXPECT_EQ(adjacency.GetEdges()[i].A, fresh.GetEdges()[i].A);
        EXPECT_EQ(adjacency.GetEdges()[i].B, fresh.GetEdges()[i].B);
    }
}

// A skinned mesh's parts' boxes follow each pose.
TEST(MeshAdjacencyMD5, PartBoxesFollowThePose)
{
    const Mesh one = Tetrahedron();
    Mesh m = one;
    for (const Math::Vec3f& p : one.Positions)
        m.Positions.push_back(p + Math::Vec3f(3, 0, 0));
    for (const auto& t : one.Triangles)
        m.Triangles.push_back({static_cast<uint16_t>(t[0] + 4), static_cast<uint16_t>(t[1] + 4),
                               static_cast<uint16_t>(t[2] + 4)});
    std::vector<Math::Vec3f> skinned = m.Positions;
    MeshAdjacencyMD5 adjacency(skinned, m.Triangles);
    ASSERT_EQ(adjacency.GetPartCount(), 2);
    const int second = adjacency.GetPositionParts()[4];
    EXPECT_EQ(adjacency.GetPartMax(second), Math::Vec3f(4, 1, 1));
    skinned[7] = Math::Vec3f(3, 0, 2.5f);
    adjacency.Update();
    EXPECT_EQ(adjacency.GetPartMax(second), Math::Vec3f(4, 1, 2.5f));
    EXPECT_EQ(adjacency.GetPartMax(1 - second), Math::Vec3f(1, 1, 1));
}
