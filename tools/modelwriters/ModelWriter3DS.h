#pragma once

#include "math/Vec3.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Media {

// Writes 3DS files from engine-space data. The loader turns a file vertex (x, y, z) into
// (x, z, -y); the writer stores (x, -z, y) so that loading gives back the positions given
// here. Used by the tests, the fuzz seed corpora and the content generator.
class ModelWriter3DS {
public:
    struct Material {
        std::string Name;
        std::array<float, 3> Ambient{0.2f, 0.2f, 0.2f};   // written as a float colour
        std::array<uint8_t, 3> Diffuse{200, 200, 200};    // written as a byte colour
        std::array<uint8_t, 3> Specular{255, 255, 255};
        std::string TextureFile;                          // empty: no texture map chunk
        float UScale = 1.0f, VScale = 1.0f, UOffset = 0.0f, VOffset = 0.0f;
    };

    struct Object {
        std::string Name;
        std::vector<Math::Vec3f> Vertices;                // engine space
        std::vector<std::array<float, 2>> TexCoords;      // empty: no texture chunk
        std::vector<std::array<uint16_t, 3>> Faces;
        uint16_t FaceFlags = 7;
        bool DirectlyUnderMain = false;                   // instead of under the editor chunk
        bool CoordinateSystem = true;                     // write the local axes and origin
        std::string MaterialGroup;                        // non-empty: a group of all faces
        bool SmoothingGroups = false;                     // one smoothing word per face
    };

    struct Scene {
        uint32_t FileVersion = 3;       // 0: no version chunk
        uint32_t MeshVersion = 3;       // 0: no mesh version chunk
        std::vector<Material> Materials;
        std::vector<Object> Objects;
        bool Keyframer = false;         // a keyframer chunk with a few children
    };

    static std::vector<uint8_t> Write(const Scene& scene);
    // Writes the bytes to a file; throws std::runtime_error when that fails.
    static void Save(const std::string& fileName, const Scene& scene);
    static void SaveBytes(const std::string& fileName, const std::vector<uint8_t>& bytes);

    // Engine-space position to the file's axes.
    static Math::Vec3f ToFileAxes(const Math::Vec3f& p) { return {p.x, -p.z, p.y}; }
};

} // namespace Media
