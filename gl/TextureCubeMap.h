#pragma once

#include "gl/ITexture.h"

namespace GL {

class TextureCubeMap : public ITexture {
public:
    TextureCubeMap();
    ~TextureCubeMap() override = default;

    std::string GetTypeName() const override { return "GL::TextureCubeMap"; }

    // Level 0 of one face, GL_TEXTURE_CUBE_MAP_POSITIVE_X ... NEGATIVE_Z.
    void SetFace(GLenum face, GLenum internalFormat, int size, GLenum format, GLenum type,
                 const void* data) const;
};

} // namespace GL
