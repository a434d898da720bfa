#pragma once

#include "app/Ptr.h"
#include "media/ByteSource.h"
#include "media/MeshRecord3DS.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace IO {
class BinaryFile;
}

namespace Korvo {
class Mesh3DS;
}

namespace Media {

// Reads 3DS files: the named objects' names, vertices, faces and texture coordinates;
// the rest of the file is walked over by chunk lengths.
//
// Every chunk the reader is inside has a cursor (id, length, bytes consumed). Children are
// read while the parent's consumed count is below its length, and a finished child adds
// its consumed count to the parent's. Unknown chunks are skipped by seeking over the
// bytes of their length not yet consumed. Vectors are turned from the file's axes into
// the engine's as (x, z, -y).
//
// Parsing is kept apart from building meshes: the object handler is called for each
// named object at the moment it has been read and checked, so that whoever builds the
// meshes sees them, and fails, in the file's order.
class ModelLoader3DS {
public:
    using ObjectHandler = std::function<void(MeshRecord3DS& record)>;

    ModelLoader3DS();
    ~ModelLoader3DS();

    // Reads the file and stores its meshes in Meshes, one Mesh3DS per named object in file
    // order (the world's Model3DS is built from them); CastShadows goes to every mesh. Any
    // failure becomes "Unable to load 3DS model from file ..." with the inner message, and
    // Meshes is left as it was.
    void Load(const std::string& FileName, bool CastShadows,
              std::vector<Sys::Ptr<Korvo::Mesh3DS>>& Meshes);

    // Reads a whole file from the source; throws Sys::Exception with the failing step.
    static void Parse(ByteSource& source, const ObjectHandler& onObject);

private:
    struct Chunk {
        uint16_t Id = 0;
        uint32_t Length = 0;
        uint32_t Consumed = 0;
    };

    ModelLoader3DS(ByteSource& source, const ObjectHandler& onObject)
        : source(&source), onObject(&onObject)
    {
    }

    void ReadHeader(Chunk& chunk);
    void Skip(Chunk& chunk);
    void Read(Chunk& chunk, void* buffer, size_t size);
    uint16_t ReadU16(Chunk& chunk);
    uint32_t ReadU32(Chunk& chunk);
    float ReadFloat(Chunk& chunk);
    std::string ReadString(Chunk& chunk);
    Math::Vec3f ReadVector(Chunk& chunk);

    void WalkScene(Chunk& parent);
    void WalkObject(Chunk& parent, MeshRecord3DS& record);
    void WalkMaterial(Chunk& parent, MaterialRecord3DS& material);
    void ReadColour(Chunk& parent, std::array<uint8_t, 3>& colour);

    void ReadVertices(Chunk& chunk, MeshRecord3DS& record);
    void ReadFaces(Chunk& chunk, MeshRecord3DS& record);
    void ReadTexCoords(Chunk& chunk, MeshRecord3DS& record);
    void ReadMaterialGroup(Chunk& chunk);
    void ReadCoordinateSystem(Chunk& chunk, MeshRecord3DS& record);

    ByteSource* source = nullptr;
    const ObjectHandler* onObject = nullptr;
    Sys::Ptr<IO::BinaryFile> File;
};

} // namespace Media
