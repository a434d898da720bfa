#pragma once

#include "math/Vec3.h"
#include "media/ISkeleton.h"
#include "media/RecordsMD5.h"

#include <array>
#include <vector>

namespace Korvo {

// The CPU side of a skinned mesh: its weights with the bind pose's normal, tangent and
// bitangent moved into each weight's joint space, so that a frame's skinning is only
// rotations and sums. Skin() writes the interleaved vertex stream (position, normal,
// tangent, bitangent: 12 floats per vertex) and the positions that the adjacency reads.
class SkinMD5 {
public:
    struct Weight {
        int Joint;
        float Bias;
        Math::Vec3f Position, Normal, Tangent, Bitangent;   // joint space
    };

    static constexpr int FloatsPerVertex = 12;

    // The records must have passed the reader's index checks; the bind pose must hold
    // every joint the weights name.
    SkinMD5(const Media::MeshDataMD5& Mesh, const ISkeleton& BindPose);

    const std::vector<Math::Vec3f>& GetBindPositions() const { return BindPositions; }
    const std::vector<Math::Vec3f>& GetBindNormals() const { return BindNormals; }
    const std::vector<Weight>& GetWeights() const { return Weights; }
    const std::vector<std::array<uint16_t, 3>>& GetTriangles() const { return Triangles; }
    size_t GetVertexCount() const { return Ranges.size(); }

    // Skins every vertex with the joint poses of Pose. Stream receives FloatsPerVertex
    // floats per vertex, Positions one position per vertex. Allocates nothing. A pose with
    // fewer joints than the weights name (an animation of another skeleton) is refused.
    void Skin(const ISkeleton& Pose, float* Stream, Math::Vec3f* Positions) const;

private:
    std::vector<std::pair<int, int>> Ranges;   // first weight, weight count per vertex
    std::vector<Weight> Weights;
    std::vector<std::array<uint16_t, 3>> Triangles;
    std::vector<Math::Vec3f> BindPositions, BindNormals;
    size_t JointsNeeded = 0;
};

} // namespace Korvo
