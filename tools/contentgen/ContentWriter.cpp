#include "tools/contentgen/ContentWriter.h"

#include <filesystem>
#include <stdexcept>

namespace Content {

namespace {

const char* const CommandLine = "korvo_contentgen";

Math::Vec3f ToFloat(const Vec3d& v) { return {float(v.x), float(v.y), float(v.z)}; }

std::string Prepare(const std::string& folder, const std::string& relative)
{
    const std::filesystem::path path = std::filesystem::path(folder) / relative;
    std::filesystem::create_directories(path.parent_path());
    return path.string();
}

} // namespace

Media::ModelWriter3DS::Scene ToScene(const ModelFile& file)
{
    Media::ModelWriter3DS::Scene scene;
    for (const TriMesh& mesh : file.Objects) {
        if (mesh.Positions.size() > 65535)
            throw std::runtime_error(mesh.Name + " has too many vertices for a 3DS object");
        Media::ModelWriter3DS::Object object;
        object.Name = mesh.Name;
        for (size_t i = 0; i < mesh.Positions.size(); ++i) {
            object.Vertices.push_back(ToFloat(mesh.Positions[i]));
            object.TexCoords.push_back({float(mesh.TexCoords[i].u), float(mesh.TexCoords[i].v)});
        }
        for (const auto& t : mesh.Triangles)
            object.Faces.push_back({uint16_t(t[0]), uint16_t(t[1]), uint16_t(t[2])});
        scene.Objects.push_back(object);
    }
    return scene;
}

Media::ModelWriterMD5::MeshFile ToMeshFile(const Character& character)
{
    Media::ModelWriterMD5::MeshFile file;
    file.CommandLine = CommandLine;
    for (const Character::Joint& j : character.Joints()) {
        // Bind orientations are the identity (0, 0, 0, -1 with the negative w).
        file.Joints.push_back({j.Name, j.Parent, ToFloat(j.Position), {0, 0, 0}});
    }
    for (const Character::Mesh& m : character.Meshes()) {
        Media::ModelWriterMD5::Mesh mesh;
        mesh.Name = m.Name;
        mesh.Shader = "zfat_" + m.Name;
        const TriMesh& g = m.Geometry;
        for (size_t i = 0; i < g.Positions.size(); ++i) {
            const int joint = m.JointOf[i];
            const TriMesh::TexCoord& uv = g.TexCoords[i];
            mesh.Vertices.push_back({{float(uv.u), float(uv.v)}, int(i), 1});
            mesh.Weights.push_back(
                {joint, 1.0f, ToFloat(g.Positions[i] - character.Joints()[joint].Position)});
        }
        for (const auto& t : g.Triangles)
            mesh.Triangles.push_back({t[0], t[1], t[2]});
        file.Meshes.push_back(mesh);
    }
    return file;
}

Media::ModelWriterMD5::AnimFile ToAnimFile(const Character& character, const WalkCycle& walk)
{
    Media::ModelWriterMD5::AnimFile file;
    file.CommandLine = CommandLine;
    file.FrameRate = walk.Style().FrameRate;
    for (size_t j = 0; j < character.Joints().size(); ++j) {
        const Character::Joint& joint = character.Joints()[j];
        file.Joints.push_back({joint.Name, joint.Parent, 63});
        file.BaseFrame.push_back({ToFloat(character.LocalOffset(int(j))), {0, 0, 0}});
    }
    for (const std::vector<JointPose>& frame : walk.Frames()) {
        std::vector<Media::ModelWriterMD5::JointPose> poses;
        for (const JointPose& p : frame) {
            const Quat q = p.Orientation.WithNegativeW();
            poses.push_back({ToFloat(p.Position), {float(q.x), float(q.y), float(q.z)}});
        }
        file.Frames.push_back(poses);
    }
    return file;
}

void WriteModelFile(const std::string& modelsFolder, const ModelFile& file)
{
    Media::ModelWriter3DS::Save(Prepare(modelsFolder, file.Path), ToScene(file));
}

void WriteCharacter(const std::string& modelsFolder, const Character& character,
                    const std::vector<WalkStyle>& walks)
{
    Media::ModelWriterMD5::SaveText(Prepare(modelsFolder, "ZFat/ZFat.md5mesh"),
                                    Media::ModelWriterMD5::Write(ToMeshFile(character)));
    for (const WalkStyle& style : walks) {
        const WalkCycle walk(character, style);
        Media::ModelWriterMD5::SaveText(Prepare(modelsFolder, "ZFat/" + style.Name + ".md5anim"),
                                        Media::ModelWriterMD5::Write(ToAnimFile(character, walk)));
    }
}

} // namespace Content
