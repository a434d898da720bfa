#include "gl/TextureCubeMap.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"

namespace GL {

TextureCubeMap::TextureCubeMap() : ITexture(GL_TEXTURE_CUBE_MAP) {}

void TextureCubeMap::SetFace(GLenum face, GLenum internalFormat, int size, GLenum format,
                             GLenum type, const void* data) const
{
    if (face < GL_TEXTURE_CUBE_MAP_POSITIVE_X || face > GL_TEXTURE_CUBE_MAP_NEGATIVE_Z)
        throw Sys::DeveloperException("Invalid <Face> parameter.");
    DrainErrors();
    glBindTexture(target, handle);
    glTexImage2D(face, 0, static_cast<GLint>(internalFormat), size, size, 0, format, type, data);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(error, "Failed to set cubemap face image.");
}

} // namespace GL
