#pragma once

#include "gl/ITexture.h"

namespace GL {

// Off-screen colour, depth and coordinate targets: texel coordinates, no mipmaps.
class TextureRectangle : public ITexture {
public:
    TextureRectangle(GLenum internalFormat, int width, int height, GLenum format, GLenum type);
    ~TextureRectangle() override = default;

    std::string GetTypeName() const override { return "GL::TextureRectangle"; }

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

private:
    int width;
    int height;
};

} // namespace GL
