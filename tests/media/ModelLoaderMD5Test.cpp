#include "media/ModelLoaderMD5.h"
#include "tools/modelwriters/ModelWriterMD5.h"

#include "app/Exception.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <cmath>

using Media::ModelWriterMD5;

namespace {

struct Parsed {
    std::vector<Media::JointRecordMD5> Joints;
    std::vector<Media::MeshDataMD5> Meshes;
};

Parsed ParseMesh(Media::TextFileMD5 file)
{
    Parsed p;
    Media::ModelLoaderMD5::ParseMesh(
        file, [&](std::vector<Media::JointRecordMD5>& j) { p.Joints = j; },
        [&](Media::MeshDataMD5& m) { p.Meshes.push_back(m); });
    return p;
}

std::string MeshError(const std::string& text)
{
    return ErrorOf([&] { ParseMesh(Media::TextFileMD5(text)); });
}

std::string AnimError(const std::string& text)
{
    return ErrorOf([&] {
        Media::TextFileMD5 file(text);
        Media::ModelLoaderMD5::ParseAnimation(file);
    });
}

ModelWriterMD5::MeshFile Character(bool comments)
{
    ModelWriterMD5::MeshFile f;
    f.CommandLine = "exported by our writer";
    f.Comments = comments;
    f.Joints = {{"origin", -1, {0, 0, 0}, {0, 0, 0}}, {"hip", 0, {0, 1, 2}, {0.5f, 0, 0}}};
    ModelWriterMD5::Mesh m;
    m.Name = "body";
    m.Vertices = {{{0.25f, 0.25f}, 0, 1}, {{0.5f, 0}, 1, 2}, {{1, 1}, 3, 1}};
    m.Triangles = {{0, 1, 2}};
    m.Weights = {{0, 1, {1, 2, 3}}, {1, 0.5f, {0, 0, 1}}, {0, 0.5f, {0, 1, 0}}, {1, 1, {4, 5, 6}}};
    f.Meshes = {m, m};
    f.Meshes[1].Triangles = {{2, 1, 0}};
    return f;
}

} // namespace

TEST(ModelLoaderMD5, MeshRoundTripWithCommentsGivesEngineSpaceRecords)
{
    for (bool comments : {false, true}) {
        const Parsed p = ParseMesh(Media::TextFileMD5(ModelWriterMD5::Write(Character(comments))));
        ASSERT_EQ(p.Joints.size(), 2u);
        EXPECT_EQ(p.Joints[1].Name, "hip");
        EXPECT_EQ(p.Joints[1].Parent, 0);
        EXPECT_EQ(p.Joints[1].Position, Math::Vec3f(0, 1, 2));
        EXPECT_EQ(p.Joints[1].Orientation, Math::Vec3f(0.5f, 0, 0));
        ASSERT_EQ(p.Meshes.size(), 2u);
        const Media::MeshDataMD5& m = p.Meshes[0];
        EXPECT_EQ(m.Shader, "default");
        ASSERT_EQ(m.Vertices.size(), 3u);
        EXPECT_FLOAT_EQ(m.Vertices[1].TexCoord[0], 0.5f);
        EXPECT_EQ(m.Vertices[1].FirstWeight, 1);
        EXPECT_EQ(m.Vertices[1].WeightCount, 2);
        EXPECT_EQ(m.Triangles[0], (std::array<uint16_t, 3>{0, 1, 2}));
        EXPECT_EQ(p.Meshes[1].Triangles[0], (std::array<uint16_t, 3>{2, 1, 0}));
        EXPECT_EQ(m.Weights[3].Position, Math::Vec3f(4, 5, 6));
        EXPECT_FLOAT_EQ(m.Weights[1].Bias, 0.5f);
    }
}

TEST(ModelLoaderMD5, RecordsAsWrittenByOtherExporters)
{
    const std::string text =
        "MD5Version 10\n"
        "commandline \"x\"\n"
        "numJoints 1\n"
        "numMeshes 1\n"
        "joints {\n"
        "\t\"root\"\t-1 ( 1 2 3 ) ( 0 0 0 )\t\t// the root\n"
        "}\n"
        "mesh {\n"
        "\tshader \"skin\"\n"
        "\tnumverts 4\n"
        "\tvert 0 ( 0.25 0.75 ) 0 1\n"
        "\t// a comment between records\n"
        "\tvert 1 ( 0 0 ) 0 1\n"
        "\n"
        "\tvert 2 ( 1 0 ) 0 1\n"
        "\tvert 3 ( 0 1 ) 0 1\n"
        "\tnumtris 1\n"
        "\ttri 0 1 2 3\n"
        "\tnumweights 1\n"
        "\tweight 0 0 1 ( 1 2 3 )\n"
        "}\n";
    const Parsed p = ParseMesh(Media::TextFileMD5(text));
    EXPECT_EQ(p.Joints[0].Position, Math::Vec3f(1, 3, -2));
    const auto& m = p.Meshes.at(0);
    EXPECT_EQ(m.Name, "");
    EXPECT_EQ(m.Shader, "skin");
    EXPECT_FLOAT_EQ(m.Vertices[0].TexCoord[0], 0.25f);   // (0.25, 0.75) -> (1 - t, s)
    EXPECT_FLOAT_EQ(m.Vertices[0].TexCoord[1], 0.25f);
    EXPECT_EQ(m.Vertices.size(), 4u);
    EXPECT_EQ(m.Triangles[0], (std::array<uint16_t, 3>{1, 3, 2}));
    EXPECT_EQ(m.Weights[0].Position, Math::Vec3f(1, 3, -2));
}

TEST(ModelLoaderMD5, MeshFileFailures)
{
    auto with = [](auto change) {
        ModelWriterMD5::MeshFile f = Character(false);
        change(f);
        return MeshError(ModelWriterMD5::Write(f));
    };
    EXPECT_EQ(with([](auto& f) { f.Version = 11; }), "Unsupported MD5 file version: 11, must be 10.");
    EXPECT_EQ(with([](auto& f) { f.Joints.clear(); }), "Invalid number of joints: 0.");
    EXPECT_EQ(with([](auto& f) { f.Meshes.clear(); }), "Invalid number of meshes: 0.");
    EXPECT_EQ(with([](auto& f) { f.Meshes[0].Vertices.clear(); }), "Invalid number of vertices: 0.");
    EXPECT_EQ(with([](auto& f) { f.Meshes[0].Triangles.clear(); }),
              "Invalid number of triangles: 0.");
    EXPECT_EQ(with([](auto& f) { f.Meshes[0].Weights.clear(); }), "Invalid number of weights: 0.");
    // Indices out of range are refused instead of read past.
    EXPECT_EQ(with([](auto& f) { f.Meshes[0].Triangles[0][1] = 3; }), "Triangle 0 uses vertex 3 of 3.");
    EXPECT_EQ(with([](auto& f) { f.Meshes[0].Weights[2].Joint = 2; }), "Weight 2 uses joint 2 of 2.");
    EXPECT_EQ(with([](auto& f) { f.Meshes[0].Vertices[2].WeightCount = 2; }),
              "Vertex 2 uses weights 3 to 4 of 4.");
    EXPECT_EQ(with([](auto& f) { f.Joints[0].Parent = 1; }), "Invalid parent 1 of joint 0.");

    EXPECT_EQ(MeshError(""), "Media.TextFileMD5 : Unable to read integer \"MD5Version\"");
    // An empty quoted value is a value: the next field is looked for after it.
    EXPECT_EQ(MeshError("MD5Version 10\ncommandline \"\"\n"),
              "Media.TextFileMD5 : Unable to read integer \"numJoints\"");
    EXPECT_EQ(MeshError("MD5Version 10\ncommandline\nnumJoints 1\n"),
              "Media.TextFileMD5 : Unable to read string \"commandline\"");
    EXPECT_EQ(MeshError("MD5Version 10\ncommandline \"a\"\nnumJoints 1\nnumMeshes 1\n"),
              "Media.TextFileMD5 : Unable to seek to chunk \"joints\"");

    // A count larger than the records that follow, and a non-numeric field.
    // Records are searched for beyond their section, so these use a single mesh.
    ModelWriterMD5::MeshFile one = Character(false);
    one.Meshes.resize(1);
    std::string text = ModelWriterMD5::Write(one);
    std::string more = text;
    more.replace(more.find("numweights 4"), 12, "numweights 2000000000");
    EXPECT_EQ(MeshError(more), "Failed to read weight 4 of 2000000000.");
    std::string word = text;
    word.replace(word.find("vert 1 ("), 8, "vert x (");
    EXPECT_EQ(MeshError(word), "Failed to read vertex 2 of 3.");
}

namespace {

ModelWriterMD5::AnimFile Walk(int frames)
{
    ModelWriterMD5::AnimFile a;
    a.Joints = {{"origin", -1, 63}, {"hip", 0, 2 | 16}};
    a.BaseFrame = {{{0, 0, 0}, {0, 0, 0}}, {{1, 0, 0}, {0, 0, 0}}};
    for (int f = 0; f < frames; ++f)
        a.Frames.push_back({{{float(f), 0, 0}, {0, 0, 0}}, {{0, 0, -2.0f * f}, {0.6f, 0, 0.8f}}});
    return a;
}

} // namespace

TEST(ModelLoaderMD5, AnimationFramesFromBaseFrameFlagsAndParents)
{
    ModelWriterMD5::AnimFile a = Walk(3);
    a.Comments = true;
    Media::TextFileMD5 file(ModelWriterMD5::Write(a));
    auto anim = Media::ModelLoaderMD5::ParseAnimation(file);
    ASSERT_EQ(anim->GetFrames().size(), 3u);
    EXPECT_EQ(anim->GetFrameRate(), 24);
    EXPECT_EQ(anim->GetHierarchy()->GetJoints()[1].StartIndex, 6);

    const auto& frame2 = anim->GetFrames()[2]->Skeleton->GetJoints();
    EXPECT_EQ(frame2[0].P, Math::Vec3f(2, 0, 0));
    EXPECT_FLOAT_EQ(frame2[0].Q[3], -1.0f);
    // The hip animates only the file's y of its position (engine -z) and the file's y of
    // its orientation (engine -z); its base x of 1 stays, its written engine x of 0.6 does
    // not. Its pose is then taken into the root's frame, which only translates.
    EXPECT_FLOAT_EQ(frame2[1].P.x, 2.0f + 1.0f);
    EXPECT_FLOAT_EQ(frame2[1].P.z, -4.0f);
    EXPECT_FLOAT_EQ(frame2[1].Q[0], 0.0f);
    // The root's orientation (0, 0, 0, -1) is the identity rotation written with w = -1:
    // the product with it negates the hip's (0, 0, 0.8, -0.6) as a whole.
    EXPECT_FLOAT_EQ(frame2[1].Q[2], -0.8f);
    EXPECT_NEAR(frame2[1].Q[3], 0.6f, 1e-6f);
}

TEST(ModelLoaderMD5, AnimationFailures)
{
    auto with = [](auto change) {
        ModelWriterMD5::AnimFile a = Walk(2);
        change(a);
        return AnimError(ModelWriterMD5::Write(a));
    };
    EXPECT_EQ(with([](auto& a) { a.Version = 4; }),
              "Unsupported .md5anim file version: 4, must be 10.");
    EXPECT_EQ(with([](auto& a) { a.FrameRate = 0; }), "Invalid <frameRate> value: 0.");
    EXPECT_EQ(with([](auto& a) { a.Frames.clear(); }), "Invalid <numFrames> value: 0.");
    // No animated component at all is fine.
    EXPECT_EQ(with([](auto& a) { a.Joints[0].Flags = a.Joints[1].Flags = 0; }), "no failure");

    std::string text = ModelWriterMD5::Write(Walk(2));
    std::string bad = text;
    bad.replace(bad.rfind("frame 1 {\n") + 10, 2, "\tx");
    EXPECT_EQ(AnimError(bad), "Failed to read animated components.");
    std::string missing = text.substr(0, text.find("frame 1 {"));
    EXPECT_EQ(AnimError(missing), "Media.TextFileMD5 : Unable to seek to frame index 1");
    std::string start = text;
    start.replace(start.find("\"hip\"\t0 18 6"), 12, "\"hip\"\t0 18 7");
    EXPECT_EQ(AnimError(start), "Joint 1 reads animated components 7 to 8 of 8.");
}
