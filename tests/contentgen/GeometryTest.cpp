#include "tools/contentgen/MeshCheck.h"
#include "tools/contentgen/Shapes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace Content;

namespace {

const double Pi = 3.14159265358979323846;

// Directed edges without a reversed partner when vertices are matched by index only.
int OpenEdgesByIndex(const TriMesh& mesh)
{
    std::map<std::pair<int, int>, int> edges;
    for (const auto& t : mesh.Triangles)
        for (int k = 0; k < 3; ++k)
            ++edges[{t[k], t[(k + 1) % 3]}];
    int open = 0;
    for (const auto& e : edges)
        open += edges.count({e.first.second, e.first.first}) ? 0 : 1;
    return open;
}

void ExpectSolid(const TriMesh& mesh, double volume, double tolerance)
{
    const ClosureReport report = CheckClosed(mesh);
    EXPECT_TRUE(report.Closed()) << report.FirstProblem;
    EXPECT_NEAR(SignedVolume(mesh), volume, volume * tolerance);
}

} // namespace

TEST(Shapes, BuildersGiveClosedOutwardSolidsOfTheRightVolume)
{
    const Xform turned = Xform::Translate({3, 4, 5}) * Xform::RotY(0.7) * Xform::RotX(0.3);
    ExpectSolid(Shapes::Box({2, 3, 4}, turned), 8 * 2 * 3 * 4, 1e-9);

    const int sides = 16;
    const double polygon = 0.5 * sides * std::sin(2 * Pi / sides);
    ExpectSolid(Shapes::Cylinder(5, 10, sides, turned), polygon * 25 * 10, 1e-9);

    // Tessellated round solids fall a little short of the smooth ones.
    const double ellipsoid = 4.0 / 3.0 * Pi * 3 * 4 * 5;
    ExpectSolid(Shapes::Ellipsoid({3, 4, 5}, 24, 16, turned), ellipsoid * 0.96, 0.04);
    const double capsule = Pi * 4 * 10 + 4.0 / 3.0 * Pi * 8;
    ExpectSolid(Shapes::Capsule({1, 2, 3}, {7, 10, 3}, 2, 24, 6), capsule * 0.97, 0.03);

    // A tube bent twice at right angles keeps its cross-section through the bends.
    const std::vector<Vec3d> path =
        Shapes::RoundedPath({{0, 0, 0}, {0, 40, 0}, {30, 40, 0}, {30, 40, 30}}, 6, 6);
    double length = 0;
    for (size_t i = 1; i < path.size(); ++i)
        length += (path[i] - path[i - 1]).Length();
    ExpectSolid(Shapes::Tube(path, 2, 16), polygon * 4 * length, 0.03);
}

TEST(Shapes, HardEdgesAreSplitAndJoinOnlyThroughTheWeld)
{
    // Every edge of a box is hard, so no edge pairs up by index; the weld closes all of them.
    const TriMesh box = Shapes::Box({1, 1, 1});
    EXPECT_EQ(box.Positions.size(), 24u);
    EXPECT_EQ(OpenEdgesByIndex(box), 12 * 2);
    EXPECT_TRUE(CheckClosed(box).Closed());

    // A cylinder's rims are split (both sides of 2 x 12 edges); its smooth side and its
    // caps are not, so their normals blend all the way round.
    const TriMesh cylinder = Shapes::Cylinder(1, 2, 12);
    EXPECT_EQ(OpenEdgesByIndex(cylinder), 2 * 12 * 2);
    EXPECT_EQ(OpenEdgesByIndex(Shapes::Ellipsoid({1, 2, 3}, 12, 8)), 0);
    EXPECT_TRUE(CheckClosed(cylinder).Closed());
}

TEST(MeshCheck, FindsOpenCrowdedAndCollapsedMeshes)
{
    TriMesh open = Shapes::Box({1, 1, 1});
    open.Triangles.pop_back();
    EXPECT_EQ(CheckClosed(open).OpenEdges, 3);

    // Two boxes that share an edge exactly: the engine could link either neighbour.
    TriMesh touching = Shapes::Box({1, 1, 1});
    touching.Append(Shapes::Box({1, 1, 1}, Xform::Translate({2, 2, 0})));
    EXPECT_GT(CheckClosed(touching).CrowdedEdges, 0);
    TriMesh apart = Shapes::Box({1, 1, 1});
    apart.Append(Shapes::Box({1, 1, 1}, Xform::Translate({2.2, 2, 0})));
    EXPECT_TRUE(CheckClosed(apart).Closed());

    // A split vertex pulled 0.04 away still welds; 0.06 away leaves the seam open.
    for (double gap : {0.04, 0.06}) {
        TriMesh box = Shapes::Box({1, 1, 1});
        box.Positions[0].x += gap;
        EXPECT_EQ(CheckClosed(box).Closed(), gap < 0.05) << gap;
    }

    // A triangle whose corners fall within the weld distance collapses.
    TriMesh sliver = Shapes::Box({1, 1, 1});
    const int a = sliver.AddVertex({5, 5, 5}, 0, 0), b = sliver.AddVertex({5.02, 5, 5}, 0, 0);
    const int c = sliver.AddVertex({5, 6, 5}, 0, 0);
    sliver.AddTriangle(a, b, c);
    EXPECT_EQ(CheckClosed(sliver).Degenerate, 1);
}

TEST(Shapes, RoundedPathKeepsEndsAndLeavesNoRepeatedPoints)
{
    // Legs of 4: the arcs of both corners meet in the middle of the short leg.
    const std::vector<Vec3d> corners = {{0, 0, 0}, {0, 4, 0}, {4, 4, 0}, {4, 4, 4}};
    const std::vector<Vec3d> path = Shapes::RoundedPath(corners, 10, 5);
    EXPECT_EQ(path.front(), corners.front());
    EXPECT_EQ(path.back(), corners.back());
    for (size_t i = 1; i < path.size(); ++i)
        EXPECT_GT((path[i] - path[i - 1]).Length(), 0.1) << i;
    EXPECT_TRUE(CheckClosed(Shapes::Tube(path, 0.5, 8)).Closed());
}
