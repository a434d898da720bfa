#include "tools/contentgen/Character.h"

#include "tools/contentgen/Shapes.h"

namespace Content {

Character::Character()
{
    const double hip = AnkleHeight + ShinLength + ThighLength; // 35.5
    const double pelvis = hip + HipDrop;                      // 38.5
    // Left is -z, right is +z (x forward, y up).
    joints = {
        {"origin", -1, {0, 0, 0}},
        {"pelvis", Origin, {0, pelvis, 0}},
        {"spine", Pelvis, {0, pelvis + 6, 0}},
        {"chest", Spine, {0, pelvis + 14.5, 0}},
        {"neck", Chest, {0, pelvis + 21, 0}},
        {"head", Neck, {0.3, pelvis + 24, 0}},
        {"upperarm_L", Chest, {0, pelvis + 20, -12.5}},
        {"forearm_L", UpperArmL, {0, pelvis + 9, -13.5}},
        {"hand_L", ForeArmL, {0, pelvis - 1, -14}},
        {"upperarm_R", Chest, {0, pelvis + 20, 12.5}},
        {"forearm_R", UpperArmR, {0, pelvis + 9, 13.5}},
        {"hand_R", ForeArmR, {0, pelvis - 1, 14}},
        {"thigh_L", Pelvis, {0, hip, -HipWidth}},
        {"shin_L", ThighL, {0, hip - ThighLength, -HipWidth}},
        {"foot_L", ShinL, {0, AnkleHeight, -HipWidth}},
        {"thigh_R", Pelvis, {0, hip, HipWidth}},
        {"shin_R", ThighR, {0, hip - ThighLength, HipWidth}},
        {"foot_R", ShinR, {0, AnkleHeight, HipWidth}},
    };
    auto at = [this](int j) { return joints[j].Position; };
    // A part centred at an offset from a joint.
    auto near = [this](int j, const Vec3d& offset) {
        return Xform::Translate(joints[j].Position + offset);
    };

    Mesh body{"body", {}, {}};
    AddPart(body, Pelvis, Shapes::Ellipsoid({9.5, 7.5, 11.5}, 16, 10, near(Pelvis, {0, -0.5, 0})));
    AddPart(body, Spine, Shapes::Ellipsoid({11.8, 10, 13}, 18, 10, near(Spine, {1.6, 2, 0})));
    AddPart(body, Chest,
            Shapes::Ellipsoid({9.5, 8.5, 13.5}, 18, 10, near(Chest, {0, 1.5, 0})));
    AddPart(body, Neck,
            Shapes::Capsule(at(Neck) + Vec3d(0, -1.5, 0), at(Neck) + Vec3d(0.3, 3.5, 0), 3.4,
                            12, 3));
    AddPart(body, Head, Shapes::Ellipsoid({5.3, 5.9, 5.0}, 16, 10, near(Head, {0.6, 4.2, 0})));
    // Nose and cap brim make the facing direction readable from any camera.
    AddPart(body, Head, Shapes::Box({1.1, 1.4, 0.9}, near(Head, {6.1, 3.6, 0})));
    AddPart(body, Head, Shapes::Box({3.2, 0.5, 4.6}, near(Head, {4.0, 7.6, 0})));
    meshes.push_back(body);

    Mesh arms{"arms", {}, {}};
    for (int side = 0; side < 2; ++side) {
        const int upper = side == 0 ? UpperArmL : UpperArmR;
        const int fore = upper + 1, hand = upper + 2;
        AddPart(arms, upper, Shapes::Capsule(at(upper), at(fore), 3.4, 12, 3));
        AddPart(arms, fore, Shapes::Capsule(at(fore), at(hand), 2.9, 12, 3));
        AddPart(arms, hand, Shapes::Ellipsoid({2.3, 3.2, 1.9}, 10, 6, near(hand, {0, -2.6, 0})));
    }
    meshes.push_back(arms);

    Mesh legs{"legs", {}, {}};
    for (int side = 0; side < 2; ++side) {
        const int thigh = side == 0 ? ThighL : ThighR;
        const int shin = thigh + 1, foot = thigh + 2;
        AddPart(legs, thigh, Shapes::Capsule(at(thigh), at(shin), 5.2, 14, 3));
        AddPart(legs, shin, Shapes::Capsule(at(shin), at(foot) + Vec3d(0, 1.5, 0), 3.8, 14, 3));
        // A shoe: flat sole at y = 0 in the bind pose, toe ahead of the ankle.
        AddPart(legs, foot,
                Shapes::Box({5.75, 2.1, 2.7}, near(foot, {2.6, -AnkleHeight + 2.1, 0})));
    }
    meshes.push_back(legs);
}

Vec3d Character::LocalOffset(int joint) const
{
    const Joint& j = joints[joint];
    return j.Parent < 0 ? j.Position : j.Position - joints[j.Parent].Position;
}

void Character::AddPart(Mesh& mesh, int joint, const TriMesh& part)
{
    mesh.Geometry.Append(part);
    mesh.JointOf.resize(mesh.Geometry.Positions.size(), joint);
}

} // namespace Content
