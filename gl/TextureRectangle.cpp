#include "gl/TextureRectangle.h"

#include "gl/ErrorCheck.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"

namespace GL {

TextureRectangle::TextureRectangle(GLenum internalFormat, int width, int height, GLenum format,
                                   GLenum type)
    : ITexture(GL_TEXTURE_RECTANGLE_ARB), width(width), height(height)
{
    // With an unpack buffer bound the null data pointer would be an offset into it.
    if (Extensions && (Extensions->GL_VERSION_2_1 || Extensions->GL_ARB_pixel_buffer_object))
        glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    glBindTexture(target, handle);
    DrainErrors();
    glTexImage2D(target, 0, static_cast<GLint>(internalFormat), width, height, 0, format, type,
                 nullptr);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(error, "Failed to allocate rectangle texture.");
}

} // namespace GL
