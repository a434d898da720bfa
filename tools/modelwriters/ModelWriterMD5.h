#pragma once

#include "math/Vec3.h"

#include <array>
#include <string>
#include <vector>

namespace Media {

// Writes MD5 mesh and animation text files from engine-space data. The loader turns a
// file vector (x, y, z) into (x, z, -y), stores texture coordinates (s, t) as (1 - t, s)
// and reverses each triangle's winding; the writer applies the inverse of each so that
// loading gives back exactly the values given here.
class ModelWriterMD5 {
public:
    struct Joint {
        std::string Name;
        int Parent = -1;
        Math::Vec3f Position;       // model space
        Math::Vec3f Orientation;    // quaternion x, y, z (w follows from them)
    };

    struct Vertex {
        std::array<float, 2> TexCoord{0, 0};   // as the loader stores it
        int FirstWeight = 0;
        int WeightCount = 1;
    };

    struct Weight {
        int Joint = 0;
        float Bias = 1.0f;
        Math::Vec3f Position;       // joint space
    };

    struct Mesh {
        std::string Name;           // written as a comment line after "mesh {"
        std::string Shader = "default";
        std::vector<Vertex> Vertices;
        std::vector<std::array<int, 3>> Triangles;   // as the loader stores them
        std::vector<Weight> Weights;
    };

    struct MeshFile {
        int Version = 10;
        std::string CommandLine = "modelwriter";
        std::vector<Joint> Joints;
        std::vector<Mesh> Meshes;
        bool Comments = false;      // trailing comments after joints and a few blank lines
    };

    struct AnimJoint {
        std::string Name;
        int Parent = -1;
        int Flags = 63;             // bits 1, 2, 4: position x, y, z; 8, 16, 32: orientation
    };

    struct JointPose {
        Math::Vec3f Position;       // relative to the parent, engine axes
        Math::Vec3f Orientation;
    };

    struct AnimFile {
        int Version = 10;
        std::string CommandLine = "modelwriter";
        int FrameRate = 24;
        std::vector<AnimJoint> Joints;
        std::vector<JointPose> BaseFrame;                // one per joint
        std::vector<std::vector<JointPose>> Frames;      // per frame, one per joint
        bool Comments = false;
    };

    static std::string Write(const MeshFile& file);
    // The animated components of a joint are the components of its pose whose flag bits
    // are set, in the order position x, y, z, orientation x, y, z of the file's axes.
    static std::string Write(const AnimFile& file);
    static int CountAnimatedComponents(const AnimFile& file);

    static void SaveText(const std::string& fileName, const std::string& text);

    static Math::Vec3f ToFileAxes(const Math::Vec3f& v) { return {v.x, -v.z, v.y}; }
};

} // namespace Media
