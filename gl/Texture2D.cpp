#include "gl/Texture2D.h"

#include "gl/ErrorCheck.h"
#include "gl/Exception.h"

namespace GL {

Texture2D::Texture2D(GLenum internalFormat, int width, int height, GLenum format, GLenum type,
                     const void* data)
    : ITexture(GL_TEXTURE_2D)
{
    glBindTexture(target, handle);
    DrainErrors();
    glTexImage2D(target, 0, static_cast<GLint>(internalFormat), width, height, 0, format, type,
                 data);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(error, "Failed to create 2D texture.");
}

} // namespace GL
