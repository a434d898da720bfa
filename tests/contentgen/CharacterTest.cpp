#include "tools/contentgen/MeshCheck.h"
#include "tools/contentgen/WalkCycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

using namespace Content;

TEST(Character, StandsOnTheFloorStoutWithClosedRigidParts)
{
    const Character character;
    double bottom = 1e30, top = -1e30, lo = 1e30, hi = -1e30;
    for (const Character::Mesh& m : character.Meshes()) {
        for (const Vec3d& p : m.Geometry.Positions) {
            bottom = std::min(bottom, p.y);
            top = std::max(top, p.y);
            lo = std::min(lo, p.z);
            hi = std::max(hi, p.z);
        }
        EXPECT_TRUE(CheckClosed(m.Geometry).Closed()) << m.Name;
        EXPECT_GT(SignedVolume(m.Geometry), 0.0) << m.Name;
        for (const auto& t : m.Geometry.Triangles) // rigid parts: one joint per triangle
            EXPECT_TRUE(m.JointOf[t[0]] == m.JointOf[t[1]] && m.JointOf[t[1]] == m.JointOf[t[2]]);
    }
    EXPECT_NEAR(bottom, 0.0, 1e-9);
    EXPECT_NEAR(top, 70.0, 3.0);
    EXPECT_GT(hi - lo, 0.35 * top); // stout
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
                const double larger = std::max(std::fabs(x), std::fabs(y));
                differences += std::fabs(x - y) > 0.15 * larger ? 1 : 0;
            }
            EXPECT_GE(differences, 2) << walks[a].Name << " vs " << walks[b].Name;
        }
}
