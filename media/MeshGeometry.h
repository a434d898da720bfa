#pragma once

#include "math/Vec3.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Korvo {

// Per-vertex geometry shared by the static and the skinned meshes.
struct MeshGeometry {
    using Triangle = std::array<uint16_t, 3>;

    // Refuses a triangle whose corner is not a vertex of the list.
    static void CheckTriangles(size_t VertexCount, const std::vector<Triangle>& Triangles);

    // Area-weighted vertex normals: the unnormalised face normals summed per corner, then
    // normalised by the engine's rule (a vertex of no triangle keeps a zero normal).
    static std::vector<Math::Vec3f> Normals(const std::vector<Math::Vec3f>& Positions,
                                            const std::vector<Triangle>& Triangles);

    // Tangents and bitangents from texture coordinates: face tangent and bitangent summed
    // per corner, the tangent made orthogonal to the normal, the bitangent rebuilt as
    // N x T with the handedness of the summed bitangent. A triangle whose texture
    // coordinates span no area has no direction to give and adds nothing.
    static void TangentFrame(const std::vector<Math::Vec3f>& Positions,
                             const std::vector<std::array<float, 2>>& TexCoords,
                             const std::vector<Math::Vec3f>& Normals,
                             const std::vector<Triangle>& Triangles,
                             std::vector<Math::Vec3f>& Tangents,
                             std::vector<Math::Vec3f>& Bitangents);

    // Axis-aligned box of the positions; zero for an empty list.
    static void Bounds(const std::vector<Math::Vec3f>& Positions, Math::Vec3f& Min,
                       Math::Vec3f& Max);
};

} // namespace Korvo
