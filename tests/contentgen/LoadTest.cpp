#include "tools/contentgen/ContentWriter.h"
#include "tools/contentgen/Scenes.h"

#include "game/PathMover.h"
#include "math/Mat4.h"
#include "media/MemoryByteSource.h"
#include "media/ModelLoader3DS.h"
#include "media/ModelLoaderMD5.h"
#include "media/TextFileMD5.h"
#include "shadow/MeshAdjacencyMD5.h"
#include "shadow/StaticMeshAdjacency.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

using namespace Content;

namespace {

const char* const Folder = "models";

class GeneratedContent : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const auto& set : {BuildZoriSet(), BuildDazuSet()})
            for (const ModelFile& f : set)
                WriteModelFile(Folder, f);
        WriteCharacter(Folder, Character(), CharacterWalks());
    }
};

std::vector<Media::MeshRecord3DS> Load3DS(const std::string& path)
{
    std::ifstream in(std::string(Folder) + "/" + path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    Media::MemoryByteSource source(bytes.data(), bytes.size());
    std::vector<Media::MeshRecord3DS> records;
    Media::ModelLoader3DS::Parse(source, [&](Media::MeshRecord3DS& r) { records.push_back(r); });
    return records;
}

// Where the scene puts its lights (the first light of the static set circles).
std::vector<Math::Vec3f> Lights(bool zori)
{
    if (!zori)
        return {{37.277f, 170, -115}, {-157, 20, 16}};
    std::vector<Math::Vec3f> lights = {{-70, 130, 14}};
    for (int i = 0; i < 8; ++i)
        lights.push_back({80 * std::sin(i * 0.785398f), 130, 80 * std::cos(i * 0.785398f)});
    return lights;
}

} // namespace

TEST_F(GeneratedContent, StaticSetsLoadAndEveryCasterBuildsItsAdjacencyWithinCapacity)
{
    for (bool zori : {true, false})
        for (const ModelFile& file : zori ? BuildZoriSet() : BuildDazuSet()) {
            SCOPED_TRACE(file.Path);
            const std::vector<Media::MeshRecord3DS> records = Load3DS(file.Path);
            ASSERT_EQ(records.size(), file.Objects.size());
            for (size_t o = 0; o < records.size(); ++o) {
                const Media::MeshRecord3DS& r = records[o];
                const TriMesh& mesh = file.Objects[o];
                EXPECT_EQ(r.Name, mesh.Name);
                ASSERT_EQ(r.Vertices.size(), mesh.Positions.size());
                ASSERT_EQ(r.Faces.size(), mesh.Triangles.size());
                for (size_t v = 0; v < r.Vertices.size(); ++v) {
                    const Vec3d& p = mesh.Positions[v];
                    EXPECT_LT((Vec3d(r.Vertices[v].x, r.Vertices[v].y, r.Vertices[v].z) - p)
                                  .Length(), 1e-3);
                }
                if (!file.CastsShadows)
                    continue;
                std::vector<Korvo::StaticMeshAdjacency::Triangle> triangles;
                for (const auto& f : r.Faces)
                    triangles.push_back({f[0], f[1], f[2]});
                Korvo::StaticMeshAdjacency adjacency(r.Vertices, triangles);
                for (const Math::Vec3f& light : Lights(zori)) {
                    adjacency.UpdateFacing(light);
                    const int silhouette = adjacency.BuildLists(0);
                    EXPECT_GT(silhouette, 0);
                    EXPECT_LE(silhouette, Korvo::IMeshAdjacency::Capacity);
                    EXPECT_LE(adjacency.BuildLists(1), Korvo::IMeshAdjacency::Capacity);
                    EXPECT_LE(adjacency.BuildLists(2), Korvo::IMeshAdjacency::Capacity);
                }
            }
        }
}

TEST_F(GeneratedContent, CharacterLoadsClosedAndItsFeetHoldTheFloorThroughTheClock)
{
    std::vector<Media::JointRecordMD5> joints;
    std::vector<Media::MeshDataMD5> meshes;
    Media::TextFileMD5 file = Media::TextFileMD5::Open(std::string(Folder) + "/ZFat/ZFat.md5mesh");
    Media::ModelLoaderMD5::ParseMesh(
        file, [&](std::vector<Media::JointRecordMD5>& j) { joints = j; },
        [&](Media::MeshDataMD5& m) { meshes.push_back(m); });
    ASSERT_EQ(meshes.size(), 3u);
    const Sys::Ptr<Korvo::SkeletonMD5> bind = Media::ModelLoaderMD5::BuildBindPose(joints);

    auto skin = [&](const Korvo::ISkeleton& pose, const Media::MeshDataMD5& mesh, int only) {
        std::vector<Math::Vec3f> out;
        for (const auto& v : mesh.Vertices) {
            Math::Vec3f p;
            for (int w = 0; w < v.WeightCount; ++w) {
                const auto& weight = mesh.Weights[v.FirstWeight + w];
                const auto& joint = pose.GetJoints()[weight.Joint];
                if (only < 0 || weight.Joint == only)
                    p += (joint.P + joint.Rotate(weight.Position)) * weight.Bias;
            }
            if (only < 0 || mesh.Weights[v.FirstWeight].Joint == only)
                out.push_back(p);
        }
        return out;
    };
    auto legs = [&]() -> const Media::MeshDataMD5& { return meshes[2]; };
    // Closed: the skinned adjacency peels nothing away.
    for (const auto& mesh : meshes) {
        const std::vector<Math::Vec3f> positions = skin(*bind, mesh, -1);
        const std::vector<char> valid = Korvo::MeshAdjacencyMD5::ValidFaces(positions, mesh.Triangles);
        EXPECT_EQ(std::count(valid.begin(), valid.end(), 1), long(mesh.Triangles.size())) << mesh.Name;
        EXPECT_LE(mesh.Triangles.size(), size_t(Korvo::IMeshAdjacency::Capacity));
    }

    // Carried round the scene's ellipse by the path mover, which turns the node along the
    // path, the character walks forward: its planted soles stay almost still in the world
    // (what remains is the turn of the body on the bend). Walking backward would drag them
    // at twice the speed.
    {
        Sys::Ptr<Game::INode> node(new Game::INode);
        Game::PathMover mover;
        mover.BuildEllipsePath({0, 0, 0}, 100, 70, 32);
        mover.SetMotion(node, Game::PathMover::OrientAlongPath, true, Game::PathMover::Loop, 18,
                        true, 0, 0, 1);
        Sys::Ptr<Korvo::ISkeletalAnimation> anim;
        Media::ModelLoaderMD5::LoadAnimation(std::string(Folder) + "/ZFat/Walk1.md5anim", anim);
        const float dt = 1.0f / 90;
        std::vector<Math::Vec3f> previous[2];
        int planted = 0;
        for (int step = 0; step < 540; ++step) {
            mover.Update(dt);
            anim->Advance(dt);
            const Math::Mat4 model =
                Math::Mat4::FromOrientationPosition(node->orientation, node->position);
            for (int leg = 0; leg < 2; ++leg) {
                const int foot = leg == 0 ? Character::FootL : Character::FootR;
                std::vector<Math::Vec3f> sole = skin(*anim->GetLerpedFrame().Skeleton, legs(), foot);
                for (Math::Vec3f& p : sole)
                    p = model.TransformPoint(p);
                if (!previous[leg].empty())
                    for (size_t i = 0; i < sole.size(); ++i)
                        if (sole[i].y < 0.02f && previous[leg][i].y < 0.02f) {
                            ++planted;
                            EXPECT_LT((sole[i] - previous[leg][i]).Length(), 0.08f) << step;
                        }
                previous[leg] = sole;
            }
        }
        EXPECT_GT(planted, 1000);
    }

    // Played by the clock while the body moves forward (+x) at the mover's speed, a foot on
    // the floor stays where it is in the world.
    const double speeds[4] = {18, 20, 30, 20};
    for (int w = 0; w < 4; ++w) {
        SCOPED_TRACE(w);
        Sys::Ptr<Korvo::ISkeletalAnimation> anim;
        Media::ModelLoaderMD5::LoadAnimation(
            std::string(Folder) + "/ZFat/Walk" + std::to_string(w + 1) + ".md5anim", anim);
        const double dt = 1.0 / 90;
        std::vector<Math::Vec3f> previous[2];
        for (int step = 1; step <= 360; ++step) {
            anim->Advance(float(dt));
            const auto& lerped = anim->GetLerpedFrame();
            EXPECT_LT(lerped.Offset.Length(), 1e-4f);
            const double travelled = speeds[w] * dt * step;
            for (int leg = 0; leg < 2; ++leg) {
                const int foot = leg == 0 ? Character::FootL : Character::FootR;
                std::vector<Math::Vec3f> sole = skin(*lerped.Skeleton, legs(), foot);
                double lowest = 1e30;
                for (Math::Vec3f& p : sole) {
                    p.x += float(travelled);
                    lowest = std::min(lowest, double(p.y));
                }
                EXPECT_GE(lowest, -0.02) << step;
                if (!previous[leg].empty() && lowest < 0.02)
                    for (size_t i = 0; i < sole.size(); ++i)
                        if (sole[i].y < 0.02 && previous[leg][i].y < 0.02)
                            EXPECT_LT((sole[i] - previous[leg][i]).Length(), 0.02f) << step;
                previous[leg] = sole;
            }
        }
    }
}
