#pragma once

#include "math/Vec3.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Media {

// What the MD5 reader takes from a mesh file, in the engine's axes.
struct JointRecordMD5 {
    std::string Name;
    int Parent = -1;
    Math::Vec3f Position;
    Math::Vec3f Orientation;   // quaternion x, y, z
};

struct VertexRecordMD5 {
    float TexCoord[2] = {0, 0};   // stored as (1 - t, s)
    int FirstWeight = 0;
    int WeightCount = 0;
};

struct WeightRecordMD5 {
    int Joint = 0;
    float Bias = 0;
    Math::Vec3f Position;
};

struct MeshDataMD5 {
    std::string Name;
    std::string Shader;
    std::vector<VertexRecordMD5> Vertices;
    std::vector<std::array<uint16_t, 3>> Triangles;   // winding already reversed
    std::vector<WeightRecordMD5> Weights;
};

} // namespace Media
