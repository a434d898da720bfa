#pragma once

#include "gl/IVertexBufferObject.h"

namespace GL {

// A pixel-pack buffer of `size` bytes, also bound for unpacking by the render device.
class PixelBuffer : public IVertexBufferObject {
public:
    explicit PixelBuffer(int size);
    ~PixelBuffer() override = default;

    std::string GetTypeName() const override { return "GL::PixelBuffer"; }
};

} // namespace GL
