#pragma once

#include "tools/contentgen/Character.h"
#include "tools/contentgen/Quat.h"

#include <string>
#include <vector>

namespace Content {

// How one walk looks. The cycle covers two steps; its stride (the distance the body
// travels per cycle) is Speed x Frames / FrameRate, so that a foot planted on the floor
// moves backward in model space at exactly the speed the path mover carries the body.
struct WalkStyle {
    std::string Name;
    double Speed = 18;     // world units per second of the mover that plays it
    int Frames = 36;       // frames per cycle; the file holds one more, equal to the first
    int FrameRate = 24;
    double Duty = 0.62;    // share of the cycle a foot is on the floor
    double StepHeight = 4; // ankle lift at mid swing
    double Reach = 0.96;   // hip to ankle distance at most this share of the leg length
    double Bob = 1.0;      // pelvis rise from double support to mid stance
    double Sway = 1.0;     // pelvis shift toward the standing leg
    double Yaw = 0.08;     // pelvis turn with the stride (radians)
    double Lean = 0.06;    // forward lean of the trunk (radians)
    double ArmSwing = 0.35;
    double ArmForward = 0; // arms held forward of the body (radians)
    double ArmOut = 0.18;  // arms held away from the belly (radians)
    double Elbow = 0.3;    // elbow bend (radians), plus a part that swings with the arm
    double ElbowSwing = 0.2;
    double HeadNod = 0.04;

    double Duration() const { return double(Frames) / FrameRate; }
    double Stride() const { return Speed * Duration(); }
};

// The four walks of the character, played at mover speeds 18, 20, 30 and 20.
std::vector<WalkStyle> CharacterWalks();

// A joint pose relative to its parent, as an animation frame stores it.
struct JointPose {
    Vec3d Position;
    Quat Orientation;
};

// Model-space placement of every joint, from local poses composed parent first.
std::vector<Xform> ComposePose(const Character& character, const std::vector<JointPose>& local);

class WalkCycle {
public:
    WalkCycle(const Character& character, const WalkStyle& style);

    const WalkStyle& Style() const { return style; }
    // Local joint poses at cycle phase 0..1 (1 is the same pose as 0).
    std::vector<JointPose> PoseAt(double phase) const;
    // Frames + 1 poses; the last repeats the first so the loop closes without a jump.
    std::vector<std::vector<JointPose>> Frames() const;
    // Model-space ankle target of a leg (0 left, 1 right) and whether its foot is planted.
    Vec3d AnkleAt(int leg, double phase, bool* planted = nullptr) const;

private:
    const Character& character;
    WalkStyle style;
    double pelvisBase = 0;

    double FootTravel() const { return style.Duty * style.Stride(); }
    void PelvisAt(double phase, Vec3d& position, double& yaw) const;
};

} // namespace Content
