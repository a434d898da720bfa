#pragma once

#include "gl/ITexture.h"

namespace GL {

class Texture2D : public ITexture {
public:
    // Allocates level 0; data may be null.
    Texture2D(GLenum internalFormat, int width, int height, GLenum format, GLenum type,
              const void* data);
    ~Texture2D() override = default;

    std::string GetTypeName() const override { return "GL::Texture2D"; }
};

} // namespace GL
