#pragma once

#include "app/Ptr.h"
#include "gl/TextureRectangle.h"

#include <GL/glew.h>

namespace Korvo {

// Every frame-set texture: a rectangle texture addressed in pixels, nearest filtering,
// clamped at the edges.
inline Sys::Ptr<GL::TextureRectangle> MakeTargetTexture(GLenum internalFormat, int width,
                                                        int height)
{
    const bool floating = internalFormat == GL_RGBA16F_ARB || internalFormat == GL_RGBA32F_ARB;
    Sys::Ptr<GL::TextureRectangle> texture(new GL::TextureRectangle(
        internalFormat, width, height, GL_RGBA, floating ? GL_FLOAT : GL_UNSIGNED_BYTE));
    texture->SetFilter(GL_NEAREST, GL_NEAREST);
    texture->SetWrap(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    return texture;
}

} // namespace Korvo
