#include "tools/modelwriters/ModelWriterMD5.h"

#include <cstdio>
#include <stdexcept>

namespace Media {

namespace {

// Shortest text that reads back as the same float.
std::string Num(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.9g", static_cast<double>(value));
    return buffer;
}

std::string Vec(const Math::Vec3f& engine)
{
    const Math::Vec3f f = ModelWriterMD5::ToFileAxes(engine);
    return "( " + Num(f.x) + " " + Num(f.y) + " " + Num(f.z) + " )";
}

} // namespace

std::string ModelWriterMD5::Write(const MeshFile& file)
{
    std::string out;
    out += "MD5Version " + std::to_string(file.Version) + "\n";
    out += "commandline \"" + file.CommandLine + "\"\n\n";
    out += "numJoints " + std::to_string(file.Joints.size()) + "\n";
    out += "numMeshes " + std::to_string(file.Meshes.size()) + "\n\n";

    out += "joints {\n";
    for (const Joint& j : file.Joints) {
        out += "\t\"" + j.Name + "\"\t" + std::to_string(j.Parent) + " " + Vec(j.Position) +
               " " + Vec(j.Orientation);
        if (file.Comments)
            out += "\t\t// " + (j.Parent >= 0 ? std::to_string(j.Parent) : std::string("root"));
        out += "\n";
    }
    out += "}\n\n";

    for (const Mesh& m : file.Meshes) {
        out += "mesh {\n";
        if (!m.Name.empty())
            out += "\t// meshes: " + m.Name + "\n";
        out += "\tshader \"" + m.Shader + "\"\n\n";
        out += "\tnumverts " + std::to_string(m.Vertices.size()) + "\n";
        for (size_t i = 0; i < m.Vertices.size(); ++i) {
            const Vertex& v = m.Vertices[i];
            // Stored (u, v) = (1 - t, s), so s = v and t = 1 - u.
            out += "\tvert " + std::to_string(i) + " ( " + Num(v.TexCoord[1]) + " " +
                   Num(1.0f - v.TexCoord[0]) + " ) " + std::to_string(v.FirstWeight) + " " +
                   std::to_string(v.WeightCount) + "\n";
        }
        if (file.Comments)
            out += "\n\t// triangles follow\n";
        out += "\n\tnumtris " + std::to_string(m.Triangles.size()) + "\n";
        for (size_t i = 0; i < m.Triangles.size(); ++i) {
            const auto& t = m.Triangles[i];
            out += "\ttri " + std::to_string(i) + " " + std::to_string(t[0]) + " " +
                   std::to_string(t[2]) + " " + std::to_string(t[1]) + "\n";
        }
        out += "\n\tnumweights " + std::to_string(m.Weights.size()) + "\n";
        for (size_t i = 0; i < m.Weights.size(); ++i) {
            const Weight& w = m.Weights[i];
            out += "\tweight " + std::to_string(i) + " " + std::to_string(w.Joint) + " " +
                   Num(w.Bias) + " " + Vec(w.Position) + "\n";
        }
        out += "}\n\n";
    }
    return out;
}

int ModelWriterMD5::CountAnimatedComponents(const AnimFile& file)
{
    int count = 0;
    for (const AnimJoint& j : file.Joints)
        for (int bit = 0; bit < 6; ++bit)
            if (j.Flags & (1 << bit))
                ++count;
    return count;
}

std::string ModelWriterMD5::Write(const AnimFile& file)
{
    std::string out;
    out += "MD5Version " + std::to_string(file.Version) + "\n";
    out += "commandline \"" + file.CommandLine + "\"\n\n";
    out += "numFrames " + std::to_string(file.Frames.size()) + "\n";
    out += "numJoints " + std::to_string(file.Joints.size()) + "\n";
    out += "frameRate " + std::to_string(file.FrameRate) + "\n";
    out += "numAnimatedComponents " + std::to_string(CountAnimatedComponents(file)) + "\n\n";

    out += "hierarchy {\n";
    int start = 0;
    for (const AnimJoint& j : file.Joints) {
        out += "\t\"" + j.Name + "\"\t" + std::to_string(j.Parent) + " " +
               std::to_string(j.Flags) + " " + std::to_string(start);
        if (file.Comments)
            out += "\t// joint";
        out += "\n";
        for (int bit = 0; bit < 6; ++bit)
            if (j.Flags & (1 << bit))
                ++start;
    }
    out += "}\n\n";

    out += "bounds {\n";
    for (size_t f = 0; f < file.Frames.size(); ++f)
        out += "\t( -1 -1 -1 ) ( 1 1 1 )\n";
    out += "}\n\n";

    out += "baseframe {\n";
    for (const JointPose& p : file.BaseFrame)
        out += "\t" + Vec(p.Position) + " " + Vec(p.Orientation) + "\n";
    out += "}\n\n";

    for (size_t f = 0; f < file.Frames.size(); ++f) {
        // Frame values are read one after another with nothing between them, so no
        // comment goes inside a frame.
        out += "frame " + std::to_string(f) + " {\n";
        const std::vector<JointPose>& poses = file.Frames[f];
        for (size_t j = 0; j < file.Joints.size() && j < poses.size(); ++j) {
            const Math::Vec3f p = ToFileAxes(poses[j].Position);
            const Math::Vec3f q = ToFileAxes(poses[j].Orientation);
            const float values[6] = {p.x, p.y, p.z, q.x, q.y, q.z};
            std::string line;
            for (int bit = 0; bit < 6; ++bit)
                if (file.Joints[j].Flags & (1 << bit))
                    line += " " + Num(values[bit]);
            if (!line.empty())
                out += "\t" + line + "\n";
        }
        out += "}\n\n";
    }
    return out;
}

void ModelWriterMD5::SaveText(const std::string& fileName, const std::string& text)
{
    FILE* f = std::fopen(fileName.c_str(), "wb");
    if (f == nullptr)
        throw std::runtime_error("cannot create " + fileName);
    const size_t written = std::fwrite(text.data(), 1, text.size(), f);
    const bool closed = std::fclose(f) == 0;
    if (written != text.size() || !closed)
        throw std::runtime_error("cannot write " + fileName);
}

} // namespace Media
