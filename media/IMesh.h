#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"
#include "math/Vec3.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace GL {
class VertexBuffer;
class IndexBuffer;
} // namespace GL

namespace Korvo {

class IMeshAdjacency;
class IShadowVolume;

// One drawable triangle list of a model. The caller binds the program and sets the
// matrices; Draw() binds the mesh's own buffers and issues the draw, nothing else.
// Shadow casters also carry their edge adjacency and shadow volume.
class IMesh : public IObject {
public:
    using Triangle = std::array<uint16_t, 3>;

    explicit IMesh(const std::string& name) : Name(name) {}
    ~IMesh() override;

    virtual void Draw() = 0;

    Sys::Ptr<IMeshAdjacency> GetAdjacency() const { return Adjacency; }
    Sys::Ptr<IShadowVolume> GetShadowVolume() const { return ShadowVolume; }
    const std::vector<Math::Vec3f>& GetPositions() const { return Positions; }
    // The positions as the last Draw shows them: the mesh's own, or a skinned mesh's pose.
    virtual const std::vector<Math::Vec3f>& GetDrawnPositions() const { return Positions; }
    const std::vector<Triangle>& GetTriangles() const { return Triangles; }

    std::string Name;
    // Axis-aligned box of the vertex positions, in model space.
    Math::Vec3f BoundsMin;
    Math::Vec3f BoundsMax;

protected:
    Sys::Ptr<IMeshAdjacency> Adjacency;
    Sys::Ptr<IShadowVolume> ShadowVolume;
    std::vector<Math::Vec3f> Positions;
    std::vector<Triangle> Triangles;
    Sys::Ptr<GL::VertexBuffer> VertexBuffer;
    Sys::Ptr<GL::IndexBuffer> IndexBuffer;
};

} // namespace Korvo
