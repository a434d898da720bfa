#include "tools/modelwriters/ModelWriter3DS.h"

#include "tools/modelwriters/ChunkWriter3DS.h"

#include <cstdio>
#include <stdexcept>

namespace Media {

namespace {

void WriteVec(ChunkWriter3DS& w, const Math::Vec3f& engine)
{
    const Math::Vec3f f = ModelWriter3DS::ToFileAxes(engine);
    w.Float(f.x);
    w.Float(f.y);
    w.Float(f.z);
}

void WriteObject(ChunkWriter3DS& w, const ModelWriter3DS::Object& object)
{
    w.Begin(0x4000);
    w.String(object.Name);
    w.Begin(0x4100);

    w.Begin(0x4110);
    w.U16(static_cast<uint16_t>(object.Vertices.size()));
    for (const Math::Vec3f& v : object.Vertices)
        WriteVec(w, v);
    w.End();

    w.Begin(0x4120);
    w.U16(static_cast<uint16_t>(object.Faces.size()));
    for (const auto& f : object.Faces) {
        w.U16(f[0]);
        w.U16(f[1]);
        w.U16(f[2]);
        w.U16(object.FaceFlags);
    }
    if (!object.MaterialGroup.empty()) {
        w.Begin(0x4130);
        w.String(object.MaterialGroup);
        w.U16(static_cast<uint16_t>(object.Faces.size()));
        for (size_t i = 0; i < object.Faces.size(); ++i)
            w.U16(static_cast<uint16_t>(i));
        w.End();
    }
    if (object.SmoothingGroups) {
        w.Begin(0x4150);
        for (size_t i = 0; i < object.Faces.size(); ++i)
            w.U32(1u);
        w.End();
    }
    w.End();

    if (!object.TexCoords.empty()) {
        w.Begin(0x4140);
        w.U16(static_cast<uint16_t>(object.TexCoords.size()));
        for (const auto& t : object.TexCoords) {
            w.Float(t[0]);
            w.Float(t[1]);
        }
        w.End();
    }

    if (object.CoordinateSystem) {
        w.Begin(0x4160);
        WriteVec(w, {1, 0, 0});
        WriteVec(w, {0, 1, 0});
        WriteVec(w, {0, 0, 1});
        WriteVec(w, {0, 0, 0});
        w.End();
    }

    w.End(); // 0x4100
    w.End(); // 0x4000
}

void WriteMaterial(ChunkWriter3DS& w, const ModelWriter3DS::Material& m)
{
    w.Begin(0xAFFF);
    w.Begin(0xA000);
    w.String(m.Name);
    w.End();

    w.Begin(0xA010);
    w.Begin(0x0010);
    for (float c : m.Ambient)
        w.Float(c);
    w.End();
    w.End();

    const std::array<uint8_t, 3>* bytes[2] = {&m.Diffuse, &m.Specular};
    const uint16_t ids[2] = {0xA020, 0xA030};
    for (int i = 0; i < 2; ++i) {
        w.Begin(ids[i]);
        w.Begin(0x0011);
        for (uint8_t c : *bytes[i])
            w.U8(c);
        w.End();
        w.End();
    }

    // Shininess strength as a percentage chunk, which readers skip.
    w.Begin(0xA041);
    w.Begin(0x0030);
    w.U16(50);
    w.End();
    w.End();

    if (!m.TextureFile.empty()) {
        w.Begin(0xA200);
        w.Begin(0xA300);
        w.String(m.TextureFile);
        w.End();
        w.ChunkFloat(0xA354, m.UScale);
        w.ChunkFloat(0xA356, m.VScale);
        w.ChunkFloat(0xA358, m.UOffset);
        w.ChunkFloat(0xA35A, m.VOffset);
        w.End();
    }
    w.End();
}

} // namespace

std::vector<uint8_t> ModelWriter3DS::Write(const Scene& scene)
{
    ChunkWriter3DS w;
    w.Begin(0x4D4D);
    if (scene.FileVersion != 0)
        w.ChunkU32(0x0002, scene.FileVersion);

    w.Begin(0x3D3D);
    if (scene.MeshVersion != 0)
        w.ChunkU32(0x3D3E, scene.MeshVersion);
    for (const Material& m : scene.Materials)
        WriteMaterial(w, m);
    // Master scale, a chunk the loader does not know.
    w.ChunkFloat(0x0100, 1.0f);
    for (const Object& o : scene.Objects)
        if (!o.DirectlyUnderMain)
            WriteObject(w, o);
    w.End();

    for (const Object& o : scene.Objects)
        if (o.DirectlyUnderMain)
            WriteObject(w, o);

    if (scene.Keyframer) {
        w.Begin(0xB000);
        w.Begin(0xB00A);
        w.U16(5);
        w.String("MAXSCENE");
        w.U32(100);
        w.End();
        w.Begin(0xB008);
        w.U32(0);
        w.U32(100);
        w.End();
        w.End();
    }
    w.End();
    return w.Data();
}

void ModelWriter3DS::Save(const std::string& fileName, const Scene& scene)
{
    SaveBytes(fileName, Write(scene));
}

void ModelWriter3DS::SaveBytes(const std::string& fileName, const std::vector<uint8_t>& bytes)
{
    FILE* f = std::fopen(fileName.c_str(), "wb");
    if (f == nullptr)
        throw std::runtime_error("cannot create " + fileName);
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    const bool closed = std::fclose(f) == 0;
    if (written != bytes.size() || !closed)
        throw std::runtime_error("cannot write " + fileName);
}

} // namespace Media
