#pragma once

#include "math/Vec3.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace Media {

// One named object of a 3DS file, in the engine's axes.
struct MeshRecord3DS {
    std::string Name;
    std::vector<Math::Vec3f> Vertices;
    std::vector<std::array<float, 2>> TexCoords;
    // Three vertex indices and the face's flags word.
    std::vector<std::array<uint16_t, 4>> Faces;
    // Three axis rows, then the origin.
    std::array<Math::Vec3f, 4> CoordinateSystem{};
};

// A material chunk of a 3DS file. It is read completely and then dropped: 3DS models
// are drawn without materials or textures.
struct MaterialRecord3DS {
    std::string Name;
    std::array<uint8_t, 3> Ambient{}, Diffuse{}, Specular{}, Shininess{};
    std::string TextureFile;
    float UScale = 0, VScale = 0, UOffset = 0, VOffset = 0;
};

} // namespace Media
