#include "tools/contentgen/WalkCycle.h"

#include <algorithm>
#include <cmath>

namespace Content {

namespace {

const double Pi = 3.14159265358979323846;

double Wrap(double phase) { return phase - std::floor(phase); }

JointPose Pose(const Vec3d& position, const Xform& rotation)
{
    return {position, Quat::FromRotation(rotation).WithNegativeW()};
}

// Rotation whose columns are the bone's forward, up and side axes for a bone that points
// along `down` and bends in the plane whose normal is `side`.
Xform BoneFrame(const Vec3d& down, const Vec3d& side)
{
    const Vec3d up = -down;
    return Xform::FromColumns(Math::Cross(up, side), up, side);
}

} // namespace

std::vector<WalkStyle> CharacterWalks()
{
    std::vector<WalkStyle> walks(4);
    // An easy stroll.
    walks[0].Name = "Walk1";
    walks[0].Speed = 18;
    walks[0].Frames = 36;
    // A brisk walk with a livelier arm swing.
    walks[1].Name = "Walk2";
    walks[1].Speed = 20;
    walks[1].Frames = 30;
    walks[1].Duty = 0.6;
    walks[1].StepHeight = 4.5;
    walks[1].ArmSwing = 0.6;
    walks[1].Elbow = 0.5;
    walks[1].Lean = 0.12;
    walks[1].Bob = 1.3;
    // Hurrying: short quick cycle, pumping bent arms, leaning into it.
    walks[2].Name = "Walk3";
    walks[2].Speed = 30;
    walks[2].Frames = 24;
    walks[2].Duty = 0.58;
    walks[2].StepHeight = 6;
    walks[2].Reach = 0.95;
    walks[2].ArmSwing = 0.85;
    walks[2].Elbow = 1.25;
    walks[2].ElbowSwing = 0.1;
    walks[2].Lean = 0.2;
    walks[2].Bob = 1.6;
    walks[2].Yaw = 0.12;
    // A slow crouching prowl: long high steps on bent knees, hunched, arms held forward.
    walks[3].Name = "Walk4";
    walks[3].Speed = 20;
    walks[3].Frames = 48;
    walks[3].Duty = 0.7;
    walks[3].StepHeight = 7;
    walks[3].Reach = 0.86;
    walks[3].ArmSwing = 0.15;
    walks[3].ArmForward = 0.45;
    walks[3].Elbow = 0.8;
    walks[3].Lean = 0.32;
    walks[3].Bob = 0.6;
    walks[3].Sway = 1.8;
    walks[3].HeadNod = 0.1;
    return walks;
}

std::vector<Xform> ComposePose(const Character& character, const std::vector<JointPose>& local)
{
    std::vector<Xform> world(local.size());
    for (size_t j = 0; j < local.size(); ++j) {
        Xform x = local[j].Orientation.ToRotation();
        x.t = local[j].Position;
        const int parent = character.Joints()[j].Parent;
        world[j] = parent < 0 ? x : world[parent] * x;
    }
    return world;
}

WalkCycle::WalkCycle(const Character& character, const WalkStyle& style)
    : character(character), style(style)
{
    // Highest pelvis that keeps both legs within reach through the whole cycle: the hips
    // sit HipDrop below the pelvis joint and turn with the pelvis yaw.
    const double leg = style.Reach * (Character::ThighLength + Character::ShinLength);
    double base = 1e30;
    for (int i = 0; i < 720; ++i) {
        const double phase = i / 720.0;
        pelvisBase = 0;
        Vec3d pelvis;
        double yaw;
        PelvisAt(phase, pelvis, yaw);
        for (int l = 0; l < 2; ++l) {
            const Vec3d hipOffset(0, 0, l == 0 ? -Character::HipWidth : Character::HipWidth);
            const Vec3d hip = pelvis + Xform::RotY(yaw).Rotate(hipOffset);
            const Vec3d ankle = AnkleAt(l, phase);
            const double dx = ankle.x - hip.x, dz = ankle.z - hip.z;
            const double rise = std::sqrt(leg * leg - dx * dx - dz * dz);
            base = std::min(base, ankle.y + rise + Character::HipDrop - pelvis.y);
        }
    }
    pelvisBase = base;
}

void WalkCycle::PelvisAt(double phase, Vec3d& position, double& yaw) const
{
    // Lowest in double support, just after each heel strike; highest over the standing leg.
    const double low = (style.Duty - 0.5) * 0.5;
    const double bob = style.Bob * 0.5 * (1 - std::cos(4 * Pi * (phase - low)));
    // Shift over the left leg (-z) while it stands, over the right one half a cycle later.
    const double sway = -style.Sway * std::cos(2 * Pi * (phase - style.Duty * 0.5));
    position = {0, pelvisBase + bob, sway};
    // The hip of the leading leg turns forward: the left hip (-z) leads at phase 0.
    yaw = -style.Yaw * std::cos(2 * Pi * phase);
}

Vec3d WalkCycle::AnkleAt(int leg, double phase, bool* planted) const
{
    const double psi = Wrap(phase + (leg == 0 ? 0.0 : 0.5));
    const double travel = FootTravel();
    const double side = leg == 0 ? -Character::HipWidth : Character::HipWidth;
    if (psi < style.Duty) {
        // Planted: slides back under the body at exactly the walking speed.
        if (planted)
            *planted = true;
        return {travel * 0.5 - travel * psi / style.Duty, Character::AnkleHeight, side};
    }
    if (planted)
        *planted = false;
    const double s = (psi - style.Duty) / (1 - style.Duty);
    return {-travel * 0.5 + travel * 0.5 * (1 - std::cos(Pi * s)),
            Character::AnkleHeight + style.StepHeight * std::sin(Pi * s), side};
}

std::vector<JointPose> WalkCycle::PoseAt(double phase) const
{
    phase = Wrap(phase);
    const auto& joints = character.Joints();
    std::vector<JointPose> local(joints.size());
    for (size_t j = 0; j < joints.size(); ++j)
        local[j] = {character.LocalOffset(int(j)), Quat()};
    local[Character::Origin] = {{0, 0, 0}, Quat().WithNegativeW()};

    Vec3d pelvis;
    double yaw;
    PelvisAt(phase, pelvis, yaw);
    const Xform pelvisRot = Xform::RotY(yaw);
    local[Character::Pelvis] = Pose(pelvis, pelvisRot);

    // Trunk: lean forward (a negative turn about z tips +y toward +x), the chest turns
    // against the pelvis, the head keeps looking ahead.
    const double c = std::cos(2 * Pi * phase);
    local[Character::Spine] = Pose(character.LocalOffset(Character::Spine),
                                   Xform::RotZ(-style.Lean * 0.5) * Xform::RotY(-yaw * 0.6));
    local[Character::Chest] = Pose(character.LocalOffset(Character::Chest),
                                   Xform::RotZ(-style.Lean * 0.5) * Xform::RotY(-yaw * 0.9));
    local[Character::Neck] = Pose(character.LocalOffset(Character::Neck),
                                  Xform::RotZ(style.Lean * 0.4) * Xform::RotY(yaw * 0.5));
    const double nod = style.HeadNod * std::cos(4 * Pi * phase);
    local[Character::Head] = Pose(character.LocalOffset(Character::Head),
                                  Xform::RotZ(style.Lean * 0.5 + nod));

    // Arms swing against the legs: the right arm leads while the left foot does.
    for (int side = 0; side < 2; ++side) {
        const int upper = side == 0 ? Character::UpperArmL : Character::UpperArmR;
        const double swing = style.ArmForward + (side == 0 ? -1 : 1) * style.ArmSwing * c;
        const double out = side == 0 ? style.ArmOut : -style.ArmOut;
        local[upper] = Pose(character.LocalOffset(upper), Xform::RotZ(swing) * Xform::RotX(out));
        const double elbow = style.Elbow + style.ElbowSwing * (0.5 + 0.5 * (side == 0 ? -c : c));
        local[upper + 1] = Pose(character.LocalOffset(upper + 1), Xform::RotZ(elbow));
        local[upper + 2] = Pose(character.LocalOffset(upper + 2), Xform::RotZ(-elbow * 0.3));
    }

    // Legs: the ankle follows its target; the knee bends forward in the leg's plane.
    Xform pelvisWorld = pelvisRot;
    pelvisWorld.t = pelvis;
    const double l1 = Character::ThighLength, l2 = Character::ShinLength;
    for (int leg = 0; leg < 2; ++leg) {
        const int thigh = leg == 0 ? Character::ThighL : Character::ThighR;
        const Vec3d hip = pelvisWorld.Apply(character.LocalOffset(thigh));
        bool planted = false;
        const Vec3d ankle = AnkleAt(leg, phase, &planted);
        const Vec3d reach = ankle - hip;
        const double d = reach.Length();
        const Vec3d along = reach / d;
        const Vec3d side = Unit(Math::Cross(along, Vec3d(1, 0, 0)));
        const Vec3d ahead = Math::Cross(side, along);
        const double cosHip = std::clamp((l1 * l1 + d * d - l2 * l2) / (2 * l1 * d), -1.0, 1.0);
        const Vec3d knee =
            hip + (along * cosHip + ahead * std::sqrt(1 - cosHip * cosHip)) * l1;
        const Xform thighRot = BoneFrame((knee - hip) / l1, side);
        const Xform shinRot = BoneFrame((ankle - knee) / l2, side);
        // The foot stays flat while planted; in the air it tips its toe down after
        // lifting off and up before landing, never more than the lift allows.
        double pitch = 0;
        if (!planted) {
            const double psi = Wrap(phase + (leg == 0 ? 0.0 : 0.5));
            const double s = (psi - style.Duty) / (1 - style.Duty);
            pitch = -0.045 * style.StepHeight * std::sin(2 * Pi * s);
        }
        const Xform footRot = Xform::RotZ(pitch);
        // Each joint stores its turn relative to its parent's.
        local[thigh] = Pose(character.LocalOffset(thigh),
                            pelvisRot.InverseRotation() * thighRot);
        local[thigh + 1] = Pose(character.LocalOffset(thigh + 1),
                                thighRot.InverseRotation() * shinRot);
        local[thigh + 2] = Pose(character.LocalOffset(thigh + 2),
                                shinRot.InverseRotation() * footRot);
    }
    return local;
}

std::vector<std::vector<JointPose>> WalkCycle::Frames() const
{
    std::vector<std::vector<JointPose>> frames;
    for (int i = 0; i <= style.Frames; ++i)
        frames.push_back(PoseAt(i == style.Frames ? 0.0 : double(i) / style.Frames));
    return frames;
}

} // namespace Content
