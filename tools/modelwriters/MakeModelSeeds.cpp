// Writes small, valid model files made by our writers into a folder per reader, as seed
// corpora for the fuzz programs: make_model_seeds <fuzz/corpus folder>.

#include "tools/modelwriters/ModelWriter3DS.h"
#include "tools/modelwriters/ModelWriterMD5.h"

#include <cstdio>
#include <filesystem>
#include <string>

using Media::ModelWriter3DS;
using Media::ModelWriterMD5;

namespace {

ModelWriter3DS::Object Cube(const std::string& name, float size)
{
    ModelWriter3DS::Object o;
    o.Name = name;
    for (int i = 0; i < 8; ++i)
        o.Vertices.push_back({i & 1 ? size : -size, i & 2 ? size : -size, i & 4 ? size : -size});
    o.Faces = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
               {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    for (int i = 0; i < 8; ++i)
        o.TexCoords.push_back({float(i & 1), float((i >> 1) & 1)});
    return o;
}

ModelWriterMD5::MeshFile Character()
{
    ModelWriterMD5::MeshFile f;
    f.Comments = true;
    f.Joints = {{"origin", -1, {0, 0, 0}, {0, 0, 0}}, {"spine", 0, {0, 1, 0}, {0.1f, 0, 0}}};
    ModelWriterMD5::Mesh m;
    m.Name = "body";
    // A tetrahedron, each corner weighted to both joints.
    const Math::Vec3f corners[4] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int v = 0; v < 4; ++v) {
        m.Vertices.push_back({{0.25f * v, 1.0f - 0.25f * v}, 2 * v, 2});
        m.Weights.push_back({0, 0.5f, corners[v]});
        m.Weights.push_back({1, 0.5f, corners[v] - Math::Vec3f(0, 1, 0)});
    }
    m.Triangles = {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}};
    f.Meshes = {m, m};
    f.Meshes[1].Name = "head";
    return f;
}

ModelWriterMD5::AnimFile Walk()
{
    ModelWriterMD5::AnimFile a;
    a.Joints = {{"origin", -1, 63}, {"spine", 0, 1 | 8 | 32}};
    a.BaseFrame = {{{0, 0, 0}, {0, 0, 0}}, {{0, 1, 0}, {0.1f, 0, 0}}};
    for (int f = 0; f < 4; ++f)
        a.Frames.push_back({{{0.1f * f, 0, 0}, {0, 0.05f * f, 0}}, {{0, 1, 0}, {0.1f, 0, 0.02f * f}}});
    return a;
}

void Save(const std::filesystem::path& folder, const std::string& name, const std::string& bytes)
{
    std::filesystem::create_directories(folder);
    ModelWriterMD5::SaveText((folder / name).string(), bytes);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];

    ModelWriter3DS::Scene plain;
    plain.Objects = {Cube("box", 1.0f)};
    ModelWriter3DS::Scene rich;
    ModelWriter3DS::Material stone;
    stone.Name = "stone";
    stone.TextureFile = "stone.tga";
    rich.Materials = {stone};
    rich.Objects = {Cube("box", 1.0f), Cube("lid", 0.5f)};
    rich.Objects[0].MaterialGroup = "stone";
    rich.Objects[0].SmoothingGroups = true;
    rich.Objects[1].DirectlyUnderMain = true;
    rich.Objects[1].TexCoords.clear();
    rich.Keyframer = true;
    for (const auto& [name, scene] : {std::pair{"cube.3ds", plain}, std::pair{"scene.3ds", rich}}) {
        const auto bytes = ModelWriter3DS::Write(scene);
        Save(root / "3ds", name, std::string(bytes.begin(), bytes.end()));
    }

    Save(root / "md5mesh", "character.md5mesh", ModelWriterMD5::Write(Character()));
    ModelWriterMD5::MeshFile plainCharacter = Character();
    plainCharacter.Comments = false;
    plainCharacter.Meshes.resize(1);
    Save(root / "md5mesh", "single.md5mesh", ModelWriterMD5::Write(plainCharacter));

    Save(root / "md5anim", "walk.md5anim", ModelWriterMD5::Write(Walk()));
    ModelWriterMD5::AnimFile still = Walk();
    still.Frames.resize(1);
    still.Joints[0].Flags = still.Joints[1].Flags = 0;
    Save(root / "md5anim", "still.md5anim", ModelWriterMD5::Write(still));
    return 0;
}
