#include "gl/PixelBuffer.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"

namespace GL {

PixelBuffer::PixelBuffer(int size) : IVertexBufferObject(GL_PIXEL_PACK_BUFFER)
{
    if (!Extensions->GL_VERSION_2_1 && !Extensions->GL_ARB_pixel_buffer_object)
        throw Sys::Exception("Extension GL_ARB_pixel_buffer_object or OpenGL 2.1 unsupported.");
    if (size < 1)
        throw Sys::DeveloperException("Invalid <Size> parameter: %d", size);
    DrainErrors();
    Allocate(size, GL_STATIC_DRAW);
    const GLenum error = glGetError();
    ReleasePackBinding();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to create pixel buffer.");
}

} // namespace GL
