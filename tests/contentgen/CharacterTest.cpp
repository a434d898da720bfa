#include "tools/contentgen/ContentWriter.h"
#include "tools/contentgen/MeshCheck.h"

#include "math/Mat4.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Content;
using Media::ModelWriterMD5;

namespace {

// The skeleton as a reader of the written records builds it: w rebuilt as the negative
// root, local poses composed parent first, vertices skinned from their weights.
struct Q {
    double x, y, z, w;
};

Q FromStored(const Math::Vec3f& v)
{
    const double r = 1.0 - (double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
    return {v.x, v.y, v.z, r >= 1e-6 ? -std::sqrt(r) : 0.0};
}

Q Mul(const Q& a, const Q& b)
{
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
            a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w,
            a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Vec3d Rotate(const Q& q, const Vec3d& v)
{
    const Q r = Mul(Mul(q, {v.x, v.y, v.z, 0}), {-q.x, -q.y, -q.z, q.w});
    return {r.x, r.y, r.z};
}

Vec3d D(const Math::Vec3f& v) { return {v.x, v.y, v.z}; }

struct Pose {
    Vec3d p;
    Q q;
};

std::vector<Pose> Compose(const ModelWriterMD5::AnimFile& anim,
                          const std::vector<ModelWriterMD5::JointPose>& frame)
{
    std::vector<Pose> pose(frame.size());
    for (size_t j = 0; j < frame.size(); ++j) {
        Pose local{D(frame[j].Position), FromStored(frame[j].Orientation)};
        const int parent = anim.Joints[j].Parent;
        pose[j] = parent < 0 ? local
                             : Pose{pose[parent].p + Rotate(pose[parent].q, local.p),
                                    Mul(pose[parent].q, local.q)};
    }
    return pose;
}

// Skinned positions of the vertices bound to `joint` (all vertices when joint < 0).
std::vector<Vec3d> Skin(const ModelWriterMD5::MeshFile& mesh, const std::vector<Pose>& pose,
                        int joint = -1)
{
    std::vector<Vec3d> out;
    for (const auto& m : mesh.Meshes)
        for (const auto& v : m.Vertices) {
            const auto& w = m.Weights[v.FirstWeight];
            if (joint < 0 || w.Joint == joint)
                out.push_back(pose[w.Joint].p + Rotate(pose[w.Joint].q, D(w.Position)) * w.Bias);
        }
    return out;
}

double MinY(const std::vector<Vec3d>& points)
{
    double y = 1e30;
    for (const Vec3d& p : points)
        y = std::min(y, p.y);
    return y;
}

const double Planted = 0.01;

} // namespace

TEST(Character, StandsOnTheFloorFacingPlusXWithClosedParts)
{
    const Character character;
    const ModelWriterMD5::MeshFile mesh = ToMeshFile(character);
    for (const char* name : {"pelvis", "spine", "chest", "neck", "head", "upperarm_L",
                             "forearm_R", "hand_L", "thigh_R", "shin_L", "foot_R"})
        EXPECT_TRUE(std::any_of(mesh.Joints.begin(), mesh.Joints.end(),
                                [&](const auto& j) { return j.Name == name; }))
            << name;

    std::vector<Pose> bind;
    for (const auto& j : mesh.Joints)
        bind.push_back({D(j.Position), FromStored(j.Orientation)});
    const std::vector<Vec3d> body = Skin(mesh, bind);
    double top = -1e30, lo = 1e30, hi = -1e30;
    for (const Vec3d& p : body) {
        top = std::max(top, p.y);
        lo = std::min(lo, p.z);
        hi = std::max(hi, p.z);
    }
    EXPECT_NEAR(MinY(body), 0.0, 1e-4);
    EXPECT_NEAR(top, 70.0, 3.0);
    EXPECT_GT(hi - lo, 0.35 * top); // stout

    // Placed by a mover heading along -z (orientation rows d, u, s), the toes lead.
    const Math::Vec3f d(0, 0, -1), s(-d.z, 0, d.x);
    const Math::Mat4 model =
        Math::Mat4::FromOrientationPosition(Math::Mat3::FromRows(d, {0, 1, 0}, s), {0, 0, 0});
    for (int foot : {Character::FootL, Character::FootR}) {
        const std::vector<Vec3d> shoe = Skin(mesh, bind, foot);
        double ahead = -1e30, behind = 1e30;
        for (const Vec3d& p : shoe) {
            const Math::Vec3f w = model.TransformPoint({float(p.x), float(p.y), float(p.z)});
            const double along = Math::Dot(w, d) - Math::Dot(D(mesh.Joints[foot].Position),
                                                              Vec3d(1, 0, 0));
            ahead = std::max(ahead, along);
            behind = std::min(behind, along);
        }
        EXPECT_GT(ahead, 2 * -behind) << foot;
    }

    for (const Character::Mesh& m : character.Meshes()) {
        EXPECT_TRUE(CheckClosed(m.Geometry).Closed()) << m.Name;
        EXPECT_GT(SignedVolume(m.Geometry), 0.0) << m.Name;
        for (const auto& t : m.Geometry.Triangles) // rigid parts: one joint per triangle
            EXPECT_TRUE(m.JointOf[t[0]] == m.JointOf[t[1]] && m.JointOf[t[1]] == m.JointOf[t[2]]);
    }
}

TEST(Character, WalksLoopSeamlesslyWithPlantedFeetThatDoNotSlide)
{
    const Character character;
    const ModelWriterMD5::MeshFile mesh = ToMeshFile(character);
    const std::vector<WalkStyle> walks = CharacterWalks();
    ASSERT_EQ(walks.size(), 4u);
    // The speeds at which the walking scene's movers carry each cycle.
    const double speeds[4] = {18, 20, 30, 20};
    for (int w = 0; w < 4; ++w) {
        SCOPED_TRACE(walks[w].Name);
        EXPECT_EQ(walks[w].Name, "Walk" + std::to_string(w + 1));
        const ModelWriterMD5::AnimFile anim = ToAnimFile(character, WalkCycle(character, walks[w]));
        const size_t n = anim.Frames.size();
        ASSERT_GE(n, 10u);

        // Composing the base frame gives the mesh's bind pose.
        std::vector<ModelWriterMD5::JointPose> base(anim.BaseFrame);
        const std::vector<Pose> basePose = Compose(anim, base);
        for (size_t j = 0; j < basePose.size(); ++j)
            EXPECT_LT((basePose[j].p - D(mesh.Joints[j].Position)).Length(), 1e-4) << j;

        // The clock blends the second-to-last frame into the last and then 0 into 1: the
        // last frame must be the first, and the motion must carry on across the seam.
        std::vector<std::vector<Pose>> poses;
        for (const auto& frame : anim.Frames)
            poses.push_back(Compose(anim, frame));
        for (size_t j = 0; j < anim.Joints.size(); ++j) {
            EXPECT_EQ(anim.Frames[n - 1][j].Position, anim.Frames[0][j].Position);
            EXPECT_EQ(anim.Frames[n - 1][j].Orientation, anim.Frames[0][j].Orientation);
            // No root motion for the clock to take away.
            EXPECT_EQ(poses[n / 2][Character::Origin].p, poses[0][Character::Origin].p);
        }
        // A repeated or skipped pose at the seam would show as a kink far sharper than any
        // within the cycle.
        for (int j : {Character::Pelvis, Character::Head, Character::HandL, Character::HandR}) {
            double sharpest = 0;
            for (size_t f = 1; f + 1 < n; ++f) {
                const Vec3d kink = (poses[f + 1][j].p - poses[f][j].p) -
                                   (poses[f][j].p - poses[f - 1][j].p);
                sharpest = std::max(sharpest, kink.Length());
            }
            const Vec3d seam = (poses[1][j].p - poses[0][j].p) -
                               (poses[n - 1][j].p - poses[n - 2][j].p);
            EXPECT_LE(seam.Length(), 1.5 * sharpest + 1e-3) << j;
        }

        // Feet: nothing goes through the floor, one foot at least is always down, and a
        // planted sole moves backward at exactly the mover's speed.
        const double step = speeds[w] / anim.FrameRate;
        int planted[2] = {0, 0};
        for (size_t f = 0; f + 1 < n; ++f) {
            EXPECT_GE(MinY(Skin(mesh, poses[f])), -Planted) << f;
            bool anyDown = false;
            for (int leg = 0; leg < 2; ++leg) {
                const int foot = leg == 0 ? Character::FootL : Character::FootR;
                const std::vector<Vec3d> now = Skin(mesh, poses[f], foot);
                const std::vector<Vec3d> next = Skin(mesh, poses[f + 1], foot);
                if (MinY(now) > Planted)
                    continue;
                anyDown = true;
                ++planted[leg];
                if (MinY(next) > Planted)
                    continue;
                for (size_t v = 0; v < now.size(); ++v) {
                    if (now[v].y > Planted)
                        continue;
                    const Vec3d moved = next[v] - now[v];
                    EXPECT_NEAR(moved.x, -step, 2e-3) << f << " leg " << leg;
                    EXPECT_NEAR(moved.y, 0.0, 2e-3) << f << " leg " << leg;
                    EXPECT_NEAR(moved.z, 0.0, 2e-3) << f << " leg " << leg;
                }
            }
            EXPECT_TRUE(anyDown) << f;
        }
        for (int leg = 0; leg < 2; ++leg)
            EXPECT_GE(planted[leg], int(0.4 * (n - 1))) << leg;
    }
}

TEST(Character, TheFourWalksLookDifferent)
{
    const Character character;
    const std::vector<WalkStyle> walks = CharacterWalks();
    // Per walk: cycle time, mean pelvis height, hand swing, trunk lean (head ahead of pelvis).
    std::vector<std::array<double, 4>> looks;
    for (const WalkStyle& style : walks) {
        const WalkCycle walk(character, style);
        double pelvis = 0, handLo = 1e30, handHi = -1e30, lean = 0;
        const auto frames = walk.Frames();
        for (size_t f = 0; f + 1 < frames.size(); ++f) {
            const std::vector<Xform> world = ComposePose(character, frames[f]);
            pelvis += world[Character::Pelvis].t.y;
            handLo = std::min(handLo, world[Character::HandL].t.x);
            handHi = std::max(handHi, world[Character::HandL].t.x);
            lean += world[Character::Head].t.x - world[Character::Pelvis].t.x;
        }
        const double count = double(frames.size() - 1);
        looks.push_back({count / style.FrameRate, pelvis / count, handHi - handLo, lean / count});
    }
    for (size_t a = 0; a < looks.size(); ++a)
        for (size_t b = a + 1; b < looks.size(); ++b) {
            int differences = 0;
            for (int k = 0; k < 4; ++k) {
                const double x = looks[a][k], y = looks[b][k];
                differences += std::fabs(x - y) > 0.15 * std::max(std::fabs(x), std::fabs(y)) ? 1 : 0;
            }
            EXPECT_GE(differences, 2) << walks[a].Name << " vs " << walks[b].Name;
        }
}
