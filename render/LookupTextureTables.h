#pragma once

#include <cstdint>
#include <vector>

namespace Korvo {

// Contents of the soft-shadow lookup textures, computed once on the CPU.
struct LookupTextureTables {
    static constexpr int Atan2Size = 128;
    static constexpr int AreaSSize = 256;

    // Six 128 x 128 faces in the order +X, -X, +Y, -Y, +Z, -Z, row by row: the angle of
    // the texel's direction around the z axis as a fraction of a turn, times 255.
    static std::vector<uint8_t> Atan2();
    // 256 x 256, row i, column j: the wrapped distance between the turns (i + 1) / 256
    // and (j + 1) / 256, doubled, times 65535.
    static std::vector<uint16_t> AreaS();
};

} // namespace Korvo
