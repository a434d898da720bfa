#include "media/ModelLoader3DS.h"

#include "app/Exception.h"
#include "io/BinaryFile.h"
#include "media/Mesh3DS.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace Media {

namespace {

constexpr uint16_t MAIN3DS = 0x4D4D;
constexpr uint16_t VERSION = 0x0002;
constexpr uint16_t EDIT3DS = 0x3D3D;
constexpr uint16_t MESH_VERSION = 0x3D3E;
constexpr uint16_t EDIT_OBJECT = 0x4000;
constexpr uint16_t OBJ_TRIMESH = 0x4100;
constexpr uint16_t TRI_VERTEXLIST = 0x4110;
constexpr uint16_t TRI_FACELIST = 0x4120;
constexpr uint16_t TRI_MATERIAL = 0x4130;
constexpr uint16_t TRI_MAPPINGCOORS = 0x4140;
constexpr uint16_t TRI_LOCAL = 0x4160;
constexpr uint16_t EDIT_MATERIAL = 0xAFFF;
constexpr uint16_t MAT_NAME = 0xA000;
constexpr uint16_t MAT_AMBIENT = 0xA010;
constexpr uint16_t MAT_DIFFUSE = 0xA020;
constexpr uint16_t MAT_SPECULAR = 0xA030;
constexpr uint16_t MAT_SHININESS = 0xA040;
constexpr uint16_t MAT_SHININESS_STRENGTH = 0xA041;
constexpr uint16_t MAT_TEXMAP = 0xA200;
constexpr uint16_t MAT_MAPNAME = 0xA300;
constexpr uint16_t MAT_USCALE = 0xA354;
constexpr uint16_t MAT_VSCALE = 0xA356;
constexpr uint16_t MAT_UOFFSET = 0xA358;
constexpr uint16_t MAT_VOFFSET = 0xA35A;
constexpr uint16_t KEYF3DS = 0xB000;
constexpr uint16_t COLOR_F = 0x0010;
constexpr uint16_t COLOR_24 = 0x0011;

constexpr size_t MaxString = 256;

// File axes (x, y, z) to the engine's (x, z, -y).
Math::Vec3f FromFileAxes(float x, float y, float z) { return {x, z, -y}; }

uint8_t ColourByte(float value)
{
    // Truncated toward zero; values outside a byte's range are clamped rather than
    // converted with undefined results.
    const double scaled = static_cast<double>(value) * 255.0;
    if (!(scaled > 0.0))
        return 0;
    if (scaled >= 255.0)
        return 255;
    return static_cast<uint8_t>(scaled);
}

} // namespace

namespace {

// The loader's two file operations on a binary file.
class FileByteSource : public ByteSource {
public:
    explicit FileByteSource(IO::BinaryFile& file) : file(file) {}
    size_t Read(void* buffer, size_t size) override
    {
        return file.Read(buffer, static_cast<uint32_t>(size));
    }
    void Skip(uint64_t offset) override
    {
        if (offset > uint64_t(INT32_MAX))
            throw Sys::Exception("Error at fseek().");
        file.Seek(static_cast<int32_t>(offset), 1);
    }

private:
    IO::BinaryFile& file;
};

} // namespace

ModelLoader3DS::ModelLoader3DS() = default;
ModelLoader3DS::~ModelLoader3DS() = default;

void ModelLoader3DS::Load(const std::string& FileName, bool CastShadows,
                          std::vector<Sys::Ptr<Korvo::Mesh3DS>>& Meshes)
{
    try {
        File = Sys::Ptr<IO::BinaryFile>(new IO::BinaryFile(FileName));
        FileByteSource fileSource(*File);
        std::vector<Sys::Ptr<Korvo::Mesh3DS>> meshes;
        Parse(fileSource, [&](MeshRecord3DS& record) {
            meshes.push_back(Sys::Ptr<Korvo::Mesh3DS>(
                new Korvo::Mesh3DS(record.Name, record, CastShadows)));
        });
        File = nullptr;
        Meshes = meshes;
    } catch (const Sys::Exception& e) {
        File = nullptr;
        throw Sys::Exception("Unable to load 3DS model from file \"%s\".\n\n%s",
                             FileName.c_str(), e.GetMessageText().c_str());
    }
}

void ModelLoader3DS::Parse(ByteSource& source, const ObjectHandler& onObject)
{
    ModelLoader3DS loader(source, onObject);
    Chunk main;
    loader.ReadHeader(main);
    if (main.Id != MAIN3DS)
        throw Sys::Exception("Invalid MAIN3DS chunk.");
    loader.WalkScene(main);
}

void ModelLoader3DS::Read(Chunk& chunk, void* buffer, size_t size)
{
    chunk.Consumed += static_cast<uint32_t>(source->Read(buffer, size));
}

uint16_t ModelLoader3DS::ReadU16(Chunk& chunk)
{
    uint8_t b[2];
    Read(chunk, b, 2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}

uint32_t ModelLoader3DS::ReadU32(Chunk& chunk)
{
    uint8_t b[4];
    Read(chunk, b, 4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
           (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

float ModelLoader3DS::ReadFloat(Chunk& chunk)
{
    const uint32_t bits = ReadU32(chunk);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

Math::Vec3f ModelLoader3DS::ReadVector(Chunk& chunk)
{
    const float x = ReadFloat(chunk);
    const float y = ReadFloat(chunk);
    const float z = ReadFloat(chunk);
    return FromFileAxes(x, y, z);
}

std::string ModelLoader3DS::ReadString(Chunk& chunk)
{
    std::string text;
    for (;;) {
        char c;
        Read(chunk, &c, 1);
        if (c == '\0')
            return text;
        if (text.size() == MaxString)
            throw Sys::Exception("String exceed maximum length.");
        text += c;
    }
}

void ModelLoader3DS::ReadHeader(Chunk& chunk)
{
    try {
        chunk.Consumed = 0;
        chunk.Id = ReadU16(chunk);
        chunk.Length = ReadU32(chunk);
    } catch (...) {
        throw Sys::Exception("Unable to read chunk header.");
    }
}

void ModelLoader3DS::Skip(Chunk& chunk)
{
    try {
        // A length shorter than what was already read cannot be skipped forward.
        if (chunk.Length < chunk.Consumed)
            throw Sys::Exception("Chunk 0x%04X claims %u bytes but %u were read.", chunk.Id,
                                 chunk.Length, chunk.Consumed);
        source->Skip(chunk.Length - chunk.Consumed);
        chunk.Consumed = chunk.Length;
    } catch (...) {
        throw Sys::Exception("Unable to skip chunk.");
    }
}

void ModelLoader3DS::WalkScene(Chunk& parent)
{
    while (parent.Consumed < parent.Length) {
        Chunk child;
        ReadHeader(child);
        switch (child.Id) {
        case VERSION:
            if (ReadU32(child) > 3)
                throw Sys::Exception("File version greater than 3.");
            break;
        case EDIT3DS:
        case KEYF3DS:
            WalkScene(child);
            break;
        case MESH_VERSION:
            if (ReadU32(child) > 3)
                throw Sys::Exception("Mesh version greater than 3.");
            break;
        case EDIT_OBJECT: {
            MeshRecord3DS record;
            record.Name = ReadString(child);
            WalkObject(child, record);
            if (!record.TexCoords.empty() && record.TexCoords.size() != record.Vertices.size())
                throw Sys::Exception(
                    "Number of vertices not equal to number of texture coordinates.");
            (*onObject)(record);
            break;
        }
        case EDIT_MATERIAL: {
            MaterialRecord3DS material;
            WalkMaterial(child, material);
            break;
        }
        default:
            Skip(child);
            break;
        }
        parent.Consumed += child.Consumed;
    }
}

void ModelLoader3DS::WalkObject(Chunk& parent, MeshRecord3DS& record)
{
    while (parent.Consumed < parent.Length) {
        Chunk child;
        ReadHeader(child);
        switch (child.Id) {
        case OBJ_TRIMESH:
            WalkObject(child, record);
            break;
        case TRI_VERTEXLIST:
            ReadVertices(child, record);
            break;
        case TRI_FACELIST:
            ReadFaces(child, record);
            break;
        case TRI_MATERIAL:
            ReadMaterialGroup(child);
            break;
        case TRI_MAPPINGCOORS:
            ReadTexCoords(child, record);
            break;
        case TRI_LOCAL:
            ReadCoordinateSystem(child, record);
            break;
        default:
            Skip(child);
            break;
        }
        parent.Consumed += child.Consumed;
    }
}

void ModelLoader3DS::ReadVertices(Chunk& chunk, MeshRecord3DS& record)
{
    try {
        // The count is 16-bit, so the list never grows beyond 65535 entries whatever the
        // file claims; a count larger than the chunk fails on the short read.
        const uint16_t count = ReadU16(chunk);
        std::vector<float> raw(size_t(count) * 3);
        Read(chunk, raw.data(), raw.size() * sizeof(float));
        record.Vertices.resize(count);
        for (size_t i = 0; i < count; ++i)
            record.Vertices[i] = FromFileAxes(raw[3 * i], raw[3 * i + 1], raw[3 * i + 2]);
    } catch (...) {
        throw Sys::Exception("Unable to read vertices.");
    }
}

void ModelLoader3DS::ReadFaces(Chunk& chunk, MeshRecord3DS& record)
{
    try {
        const uint16_t count = ReadU16(chunk);
        std::vector<uint8_t> raw(size_t(count) * 8);
        Read(chunk, raw.data(), raw.size());
        record.Faces.resize(count);
        for (size_t i = 0; i < count; ++i)
            for (size_t k = 0; k < 4; ++k)
                record.Faces[i][k] =
                    static_cast<uint16_t>(raw[8 * i + 2 * k] | (raw[8 * i + 2 * k + 1] << 8));
    } catch (...) {
        throw Sys::Exception("Unable to read faces.");
    }
}

void ModelLoader3DS::ReadTexCoords(Chunk& chunk, MeshRecord3DS& record)
{
    try {
        const uint16_t count = ReadU16(chunk);
        std::vector<float> raw(size_t(count) * 2);
        Read(chunk, raw.data(), raw.size() * sizeof(float));
        record.TexCoords.resize(count);
        for (size_t i = 0; i < count; ++i)
            record.TexCoords[i] = {raw[2 * i], raw[2 * i + 1]};
    } catch (...) {
        throw Sys::Exception("Unable to read texture coordinates.");
    }
}

void ModelLoader3DS::ReadMaterialGroup(Chunk& chunk)
{
    try {
        ReadString(chunk);
        const uint16_t count = ReadU16(chunk);
        std::vector<uint8_t> faces(size_t(count) * 2);
        Read(chunk, faces.data(), faces.size());
    } catch (...) {
        throw Sys::Exception("Unable to read mesh material name.");
    }
}

void ModelLoader3DS::ReadCoordinateSystem(Chunk& chunk, MeshRecord3DS& record)
{
    try {
        for (Math::Vec3f& row : record.CoordinateSystem)
            row = ReadVector(chunk);
    } catch (...) {
        throw Sys::Exception("Unable to read coordinate system.");
    }
}

void ModelLoader3DS::WalkMaterial(Chunk& parent, MaterialRecord3DS& material)
{
    while (parent.Consumed < parent.Length) {
        Chunk child;
        ReadHeader(child);
        switch (child.Id) {
        case MAT_NAME:
            try {
                material.Name = ReadString(child);
            } catch (...) {
                throw Sys::Exception("Unable to read material name.");
            }
            break;
        case MAT_AMBIENT:
            ReadColour(child, material.Ambient);
            break;
        case MAT_DIFFUSE:
            ReadColour(child, material.Diffuse);
            break;
        case MAT_SPECULAR:
            ReadColour(child, material.Specular);
            break;
        case MAT_SHININESS:
            ReadColour(child, material.Shininess);
            break;
        case MAT_SHININESS_STRENGTH:
            // Only the header is taken; the contents follow as further children.
            break;
        case MAT_TEXMAP:
            WalkMaterial(child, material);
            break;
        case MAT_MAPNAME:
            try {
                material.TextureFile = ReadString(child);
            } catch (...) {
                throw Sys::Exception("Unable to read texture file name.");
            }
            break;
        case MAT_USCALE:
            material.UScale = ReadFloat(child);
            break;
        case MAT_VSCALE:
            material.VScale = ReadFloat(child);
            break;
        case MAT_UOFFSET:
            material.UOffset = ReadFloat(child);
            break;
        case MAT_VOFFSET:
            material.VOffset = ReadFloat(child);
            break;
        default:
            Skip(child);
            break;
        }
        parent.Consumed += child.Consumed;
    }
}

void ModelLoader3DS::ReadColour(Chunk& parent, std::array<uint8_t, 3>& colour)
{
    while (parent.Consumed < parent.Length) {
        Chunk child;
        ReadHeader(child);
        if (child.Id == COLOR_F) {
            for (uint8_t& c : colour)
                c = ColourByte(ReadFloat(child));
        } else if (child.Id == COLOR_24) {
            Read(child, colour.data(), 3);
        } else {
            Skip(child);
        }
        parent.Consumed += child.Consumed;
    }
}

} // namespace Media
