#pragma once

#include "app/KorvoIObject.h"
#include "math/Vec3.h"

#include <string>

namespace Korvo {

// One drawable triangle list of a model. The caller binds the program and sets the
// matrices; Draw() binds the mesh's own buffers and issues the draw, nothing else.
class IMesh : public IObject {
public:
    explicit IMesh(const std::string& name) : Name(name) {}
    ~IMesh() override = default;

    virtual void Draw() = 0;

    std::string Name;
    // Axis-aligned box of the vertex positions, in model space.
    Math::Vec3f BoundsMin;
    Math::Vec3f BoundsMax;
};

} // namespace Korvo
