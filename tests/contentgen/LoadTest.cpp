#include "tools/contentgen/ContentWriter.h"
#include "tools/contentgen/Scenes.h"

#include "media/ModelLoaderMD5.h"
#include "media/TextFileMD5.h"
#include "shadow/MeshAdjacencyMD5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Content;

namespace {

const char* const Folder = "models";

class GeneratedContent : public ::testing::Test {
protected:
    static void SetUpTestSuite() { WriteCharacter(Folder, Character(), CharacterWalks()); }
};

struct LoadedCharacter {
    std::vector<Media::JointRecordMD5> Joints;
    std::vector<Media::MeshDataMD5> Meshes;
    const Media::MeshDataMD5& Legs() const { return Meshes[2]; }
};

LoadedCharacter LoadCharacter()
{
    LoadedCharacter c;
    Media::TextFileMD5 file = Media::TextFileMD5::Open(std::string(Folder) + "/ZFat/ZFat.md5mesh");
    Media::ModelLoaderMD5::ParseMesh(
        file, [&](std::vector<Media::JointRecordMD5>& j) { c.Joints = j; },
        [&](Media::MeshDataMD5& m) { c.Meshes.push_back(m); });
    return c;
}

Sys::Ptr<Korvo::ISkeletalAnimation> LoadWalk(int index)
{
    Sys::Ptr<Korvo::ISkeletalAnimation> anim;
    Media::ModelLoaderMD5::LoadAnimation(
        std::string(Folder) + "/ZFat/Walk" + std::to_string(index + 1) + ".md5anim", anim);
    return anim;
}

// Skinned positions of the vertices bound to joint `only` (every vertex when negative).
std::vector<Math::Vec3f> Skin(const Korvo::ISkeleton& pose, const Media::MeshDataMD5& mesh,
                              int only = -1)
{
    std::vector<Math::Vec3f> out;
    for (const auto& v : mesh.Vertices) {
        if (only >= 0 && mesh.Weights[v.FirstWeight].Joint != only)
            continue;
        Math::Vec3f p;
        for (int w = 0; w < v.WeightCount; ++w) {
            const auto& weight = mesh.Weights[v.FirstWeight + w];
            const auto& joint = pose.GetJoints()[weight.Joint];
            p += (joint.P + joint.Rotate(weight.Position)) * weight.Bias;
        }
        out.push_back(p);
    }
    return out;
}

float MinY(const std::vector<Math::Vec3f>& points)
{
    float y = 1e30f;
    for (const Math::Vec3f& p : points)
        y = std::min(y, p.y);
    return y;
}

const int Feet[2] = {Character::FootL, Character::FootR};
// The speeds at which the walking scene's movers carry Walk1 to Walk4.
const double Speeds[4] = {18, 20, 30, 20};
const float Planted = 0.01f;

} // namespace

TEST_F(GeneratedContent, CharacterIsClosedAndEveryWalkLoopsWithFeetThatDoNotSlide)
{
    const LoadedCharacter character = LoadCharacter();
    ASSERT_EQ(character.Meshes.size(), 3u);
    const Sys::Ptr<Korvo::SkeletonMD5> bind =
        Media::ModelLoaderMD5::BuildBindPose(character.Joints);
    // Closed: the skinned adjacency peels nothing away.
    for (const auto& mesh : character.Meshes) {
        const std::vector<char> valid =
            Korvo::MeshAdjacencyMD5::ValidFaces(Skin(*bind, mesh), mesh.Triangles);
        EXPECT_EQ(std::count(valid.begin(), valid.end(), 1), long(mesh.Triangles.size()));
        EXPECT_LE(mesh.Triangles.size(), size_t(Korvo::IMeshAdjacency::Capacity));
    }

    for (int w = 0; w < 4; ++w) {
        SCOPED_TRACE(w);
        const Sys::Ptr<Korvo::ISkeletalAnimation> anim = LoadWalk(w);
        std::vector<std::vector<Korvo::ISkeleton::JointPose>> poses;
        for (const auto& frame : anim->GetFrames())
            poses.push_back(frame->Skeleton->GetJoints());
        const size_t n = poses.size();
        ASSERT_GE(n, 10u);

        // The clock blends the second-to-last frame into the last and then 0 into 1: the
        // last frame must be the first, with no root motion for the clock to take away,
        // and no kink at the seam sharper than any within the cycle.
        for (size_t j = 0; j < poses[0].size(); ++j) {
            EXPECT_EQ(poses[n - 1][j].P, poses[0][j].P) << j;
            EXPECT_TRUE(std::equal(poses[n - 1][j].Q, poses[n - 1][j].Q + 4, poses[0][j].Q)) << j;
            EXPECT_EQ(poses[n / 2][Character::Origin].P, poses[0][Character::Origin].P);
        }
        for (int j : {Character::Pelvis, Character::Head, Character::HandL, Character::HandR}) {
            float sharpest = 0;
            for (size_t f = 1; f + 1 < n; ++f)
                sharpest = std::max(sharpest, ((poses[f + 1][j].P - poses[f][j].P) -
                                               (poses[f][j].P - poses[f - 1][j].P)).Length());
            const Math::Vec3f seam =
                (poses[1][j].P - poses[0][j].P) - (poses[n - 1][j].P - poses[n - 2][j].P);
            EXPECT_LE(seam.Length(), 1.5f * sharpest + 1e-3f) << j;
        }

        // Nothing goes through the floor, one foot at least is always down, each is down
        // for a good part of the cycle, and a planted sole moves backward at exactly the
        // mover's speed.
        const float step = float(Speeds[w] / anim->GetFrameRate());
        int planted[2] = {0, 0};
        for (size_t f = 0; f + 1 < n; ++f) {
            const Korvo::ISkeleton& now = *anim->GetFrames()[f]->Skeleton;
            const Korvo::ISkeleton& next = *anim->GetFrames()[f + 1]->Skeleton;
            float lowest = 1e30f;
            for (const auto& mesh : character.Meshes)
                lowest = std::min(lowest, MinY(Skin(now, mesh)));
            EXPECT_GE(lowest, -Planted) << f;
            bool anyDown = false;
            for (int leg = 0; leg < 2; ++leg) {
                const std::vector<Math::Vec3f> a = Skin(now, character.Legs(), Feet[leg]);
                const std::vector<Math::Vec3f> b = Skin(next, character.Legs(), Feet[leg]);
                if (MinY(a) > Planted)
                    continue;
                anyDown = true;
                ++planted[leg];
                for (size_t v = 0; MinY(b) <= Planted && v < a.size(); ++v)
                    if (a[v].y <= Planted) {
                        EXPECT_NEAR(b[v].x - a[v].x, -step, 2e-3f) << f << " leg " << leg;
                        EXPECT_NEAR(b[v].y - a[v].y, 0.0f, 2e-3f) << f << " leg " << leg;
                        EXPECT_NEAR(b[v].z - a[v].z, 0.0f, 2e-3f) << f << " leg " << leg;
                    }
            }
            EXPECT_TRUE(anyDown) << f;
        }
        for (int leg = 0; leg < 2; ++leg)
            EXPECT_GE(planted[leg], int(0.4 * (n - 1))) << leg;
    }
}
