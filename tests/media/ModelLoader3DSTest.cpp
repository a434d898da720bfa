#include "media/MemoryByteSource.h"
#include "media/ModelLoader3DS.h"
#include "tools/modelwriters/ChunkWriter3DS.h"
#include "tools/modelwriters/ModelWriter3DS.h"

#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

using Media::ModelWriter3DS;

namespace {

std::vector<Media::MeshRecord3DS> Parse(const std::vector<uint8_t>& bytes)
{
    std::vector<Media::MeshRecord3DS> records;
    Media::MemoryByteSource source(bytes.data(), bytes.size());
    Media::ModelLoader3DS::Parse(source, [&](Media::MeshRecord3DS& r) { records.push_back(r); });
    return records;
}

std::string ParseError(const std::vector<uint8_t>& bytes)
{
    return ErrorOf([&] { Parse(bytes); });
}

// One object whose vertex list claims `count` vertices and holds the given coordinates.
std::vector<uint8_t> RawVertices(uint16_t count, std::initializer_list<float> coordinates)
{
    Media::ChunkWriter3DS w;
    w.Begin(0x4D4D);
    w.Begin(0x4000);
    w.String("o");
    w.Begin(0x4110);
    w.U16(count);
    for (float c : coordinates)
        w.Float(c);
    w.End();
    w.End();
    w.End();
    return w.Data();
}

ModelWriter3DS::Object Quad(const std::string& name)
{
    ModelWriter3DS::Object o;
    o.Name = name;
    o.Vertices = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}};
    o.TexCoords = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    o.Faces = {{0, 1, 2}, {0, 2, 3}};
    return o;
}

} // namespace

TEST(ModelLoader3DS, RoundTripGivesEngineSpaceDataInFileOrder)
{
    ModelWriter3DS::Scene scene;
    scene.Objects = {Quad("first"), Quad("second"), Quad("third")};
    scene.Objects[1].DirectlyUnderMain = true;   // written after the editor chunk
    scene.Objects[2].TexCoords.clear();
    // Materials, smoothing groups and the keyframer change nothing of the data.
    ModelWriter3DS::Material m;
    m.Name = "stone";
    m.TextureFile = "stone.tga";
    scene.Materials = {m, m};
    scene.Objects[0].MaterialGroup = "stone";
    scene.Objects[0].SmoothingGroups = true;
    scene.Keyframer = true;
    const auto records = Parse(ModelWriter3DS::Write(scene));

    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].Name, "first");
    EXPECT_EQ(records[1].Name, "third");
    EXPECT_EQ(records[2].Name, "second");
    for (const auto& r : records) {
        ASSERT_EQ(r.Vertices.size(), 4u);
        EXPECT_EQ(r.Vertices[0], Math::Vec3f(1, 2, 3));
        EXPECT_EQ(r.Vertices[3], Math::Vec3f(-1, -2, -3));
        ASSERT_EQ(r.Faces.size(), 2u);
        EXPECT_EQ(r.Faces[1][1], 2);
        EXPECT_EQ(r.Faces[1][3], 7);   // flags kept as read
        EXPECT_EQ(r.CoordinateSystem[2], Math::Vec3f(0, 0, 1));
    }
    EXPECT_TRUE(records[1].TexCoords.empty());
    EXPECT_FLOAT_EQ(records[0].TexCoords[2][1], 1.0f);

    // The file's axes (x, y, z) are the engine's (x, -z, y).
    EXPECT_EQ(Parse(RawVertices(1, {1, 2, 3})).at(0).Vertices.at(0), Math::Vec3f(1, 3, -2));
}

TEST(ModelLoader3DS, VersionsAndChecks)
{
    ModelWriter3DS::Scene scene;
    scene.Objects = {Quad("a")};
    EXPECT_EQ(Parse(ModelWriter3DS::Write(scene)).size(), 1u);   // both versions 3

    scene.FileVersion = 4;
    EXPECT_EQ(ParseError(ModelWriter3DS::Write(scene)), "File version greater than 3.");
    scene.FileVersion = 3;
    scene.MeshVersion = 4;
    EXPECT_EQ(ParseError(ModelWriter3DS::Write(scene)), "Mesh version greater than 3.");
    scene.MeshVersion = 3;

    scene.Objects[0].Vertices.resize(8);
    scene.Objects[0].TexCoords.resize(7);
    EXPECT_EQ(ParseError(ModelWriter3DS::Write(scene)),
              "Number of vertices not equal to number of texture coordinates.");

    auto bytes = ModelWriter3DS::Write(scene);
    bytes[0] = 0x4C;
    EXPECT_EQ(ParseError(bytes), "Invalid MAIN3DS chunk.");
    EXPECT_EQ(ParseError({}), "Unable to read chunk header.");
}

TEST(ModelLoader3DS, StringLengthLimit)
{
    auto objectNamed = [](const std::string& name) {
        ModelWriter3DS::Scene s;
        s.Objects = {Quad(name)};
        return ModelWriter3DS::Write(s);
    };
    EXPECT_EQ(Parse(objectNamed(std::string(256, 'n')))[0].Name.size(), 256u);
    EXPECT_EQ(ParseError(objectNamed(std::string(257, 'n'))), "String exceed maximum length.");

    ModelWriter3DS::Scene s;
    ModelWriter3DS::Material m;
    m.Name = std::string(257, 'm');
    s.Materials = {m};
    EXPECT_EQ(ParseError(ModelWriter3DS::Write(s)), "Unable to read material name.");
    s.Materials[0].Name = "m";
    s.Materials[0].TextureFile = std::string(300, 't');
    EXPECT_EQ(ParseError(ModelWriter3DS::Write(s)), "Unable to read texture file name.");
}

TEST(ModelLoader3DS, TruncatedAndLyingFilesNameTheStep)
{
    // Cuts inside each list chunk of one object: the step's own message replaces the
    // short read.
    ModelWriter3DS::Scene scene;
    scene.Objects = {Quad("a")};
    scene.Objects[0].MaterialGroup = "g";
    const auto bytes = ModelWriter3DS::Write(scene);
    auto find = [&](uint16_t id) {
        for (size_t i = 0; i + 1 < bytes.size(); ++i)
            if (bytes[i] == (id & 0xFF) && bytes[i + 1] == (id >> 8))
                return i;
        return size_t(0);
    };
    const std::pair<uint16_t, const char*> steps[] = {
        {0x4110, "Unable to read vertices."},
        {0x4120, "Unable to read faces."},
        {0x4130, "Unable to read mesh material name."},
        {0x4140, "Unable to read texture coordinates."},
        {0x4160, "Unable to read coordinate system."},
    };
    for (const auto& [id, message] : steps) {
        const size_t at = find(id);
        ASSERT_NE(at, 0u) << std::hex << id;
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + at + 9);
        EXPECT_EQ(ParseError(cut), message) << std::hex << id;
    }

    // A file cut in the middle of a header.
    EXPECT_EQ(ParseError(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 9)),
              "Unable to read chunk header.");

    // An unknown chunk claiming less than its own header cannot be skipped.
    Media::ChunkWriter3DS w;
    w.Begin(0x4D4D);
    w.U16(0x1234);
    w.U32(2);
    w.End();
    EXPECT_EQ(ParseError(w.Data()), "Unable to skip chunk.");

    // A main chunk claiming more than the file holds runs into the end of the file.
    auto longer = bytes;
    longer[2] = 0xFF;
    longer[3] = 0xFF;
    EXPECT_EQ(ParseError(longer), "Unable to read chunk header.");

    // A vertex count larger than the chunk.
    EXPECT_EQ(ParseError(RawVertices(65535, {1})), "Unable to read vertices.");
}
