#include "media/MeshGeometry.h"
#include "media/SkeletonMD5.h"
#include "media/SkinMD5.h"

#include "app/Exception.h"
#include "tests/support/NearVectors.h"

#include <gtest/gtest.h>

#include <cmath>

using Korvo::MeshGeometry;

namespace {

using Test::ExpectNear;

} // namespace

TEST(MeshGeometry, NormalsAndBounds)
{
    std::vector<Math::Vec3f> p = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}};
    const auto n = MeshGeometry::Normals(p, {{0, 1, 2}});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(n[i], Math::Vec3f(0, 0, 1));
    EXPECT_EQ(n[3], Math::Vec3f(0, 0, 0));   // used by no triangle

    // Larger triangles weigh more: a big face in z and a small one in x.
    std::vector<Math::Vec3f> q = {{0, 0, 0}, {4, 0, 0}, {0, 4, 0}, {0, 0, 1}, {0, -1, 0}};
    const auto m = MeshGeometry::Normals(q, {{0, 1, 2}, {0, 3, 4}});
    EXPECT_GT(m[0].z, 0.99f);
    EXPECT_GT(m[0].x, 0.0f);

    // Bounds of real meshes: the media GL test; no vertices give an empty box at the origin.
    Math::Vec3f lo, hi;
    MeshGeometry::Bounds({}, lo, hi);
    EXPECT_EQ(hi, Math::Vec3f());
}

TEST(SkinMD5, BindPoseSkinsBackToItselfAndFollowsAJoint)
{
    // Two joints, a triangle weighted to joint 1 and a vertex shared by both joints.
    Korvo::SkeletonMD5 bind(2);
    bind.GetJoints()[1].P = {0, 0, 1};
    bind.GetJoints()[1].Q[3] = 1;
    Korvo::SkeletonMD5::ComputeRotation(bind.GetJoints()[1]);

    Media::MeshDataMD5 mesh;
    mesh.Vertices = {{{0, 0}, 0, 1}, {{1, 0}, 1, 1}, {{0, 1}, 2, 2}};
    mesh.Triangles = {{0, 1, 2}};
    mesh.Weights = {{1, 1, {0, 0, 0}}, {1, 1, {1, 0, 0}}, {1, 0.5f, {0, 1, 0}}, {0, 0.5f, {0, 1, 1}}};
    Korvo::SkinMD5 skin(mesh, bind);
    ExpectNear(skin.GetBindPositions()[2], {0, 1, 1});

    std::vector<float> stream(3 * Korvo::SkinMD5::FloatsPerVertex);
    std::vector<Math::Vec3f> positions(3);
    skin.Skin(bind, stream.data(), positions.data());
    for (int v = 0; v < 3; ++v) {
        ExpectNear(positions[v], skin.GetBindPositions()[v]);
        ExpectNear({stream[12 * v + 3], stream[12 * v + 4], stream[12 * v + 5]},
                   skin.GetBindNormals()[v]);
    }

    // Turn joint 1 a quarter around z: its vertices and normals turn with it.
    Korvo::SkeletonMD5 pose(2);
    pose.GetJoints() = bind.GetJoints();
    auto& j = pose.GetJoints()[1];
    j.Q[2] = std::sqrt(0.5f);
    j.Q[3] = std::sqrt(0.5f);
    Korvo::SkeletonMD5::ComputeRotation(j);
    pose.GetJoints()[1].P = {0, 0, 2};
    skin.Skin(pose, stream.data(), positions.data());
    ExpectNear(positions[0], {0, 0, 2});
    ExpectNear(positions[1], {0, 1, 2});
    ExpectNear({stream[12 + 3], stream[12 + 4], stream[12 + 5]}, {0, 0, 1});

    Korvo::SkeletonMD5 small(1);
    EXPECT_THROW(skin.Skin(small, stream.data(), positions.data()), Sys::Exception);
    mesh.Weights[0].Joint = 5;
    EXPECT_THROW(Korvo::SkinMD5(mesh, bind), Sys::Exception);
}
