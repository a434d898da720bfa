#pragma once

#include "tools/contentgen/TriMesh.h"

#include <string>
#include <vector>

namespace Content {

// The walking scene's character: a stout figure about 70 units tall standing on y = 0,
// facing +x (the path mover turns a node so that its x axis runs along the path, y up and
// z to its right). Every body part is a closed solid bound rigidly to one joint, so the
// parts stay closed in every pose. Bind orientations are all the identity; a vertex's
// weight position is therefore its offset from its joint.
class Character {
public:
    struct Joint {
        std::string Name;
        int Parent = -1;
        Vec3d Position; // bind pose, model space
    };
    struct Mesh {
        std::string Name;
        TriMesh Geometry;         // bind pose
        std::vector<int> JointOf; // one joint per vertex, weight 1
    };

    enum JointId {
        Origin, Pelvis, Spine, Chest, Neck, Head,
        UpperArmL, ForeArmL, HandL, UpperArmR, ForeArmR, HandR,
        ThighL, ShinL, FootL, ThighR, ShinR, FootR,
        JointCount
    };

    // Dimensions the walk cycles rely on.
    static constexpr double AnkleHeight = 3.5; // ankle above the sole
    static constexpr double ThighLength = 16.5;
    static constexpr double ShinLength = 15.5;
    static constexpr double HipWidth = 6.5;    // half distance between the hips
    static constexpr double HipDrop = 3.0;     // hips below the pelvis joint

    Character();

    const std::vector<Joint>& Joints() const { return joints; }
    const std::vector<Mesh>& Meshes() const { return meshes; }
    // Bind position of a joint relative to its parent's.
    Vec3d LocalOffset(int joint) const;

private:
    std::vector<Joint> joints;
    std::vector<Mesh> meshes;

    void AddPart(Mesh& mesh, int joint, const TriMesh& part);
};

} // namespace Content
