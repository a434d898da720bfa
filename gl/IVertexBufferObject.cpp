#include "gl/IVertexBufferObject.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"

namespace GL {

IVertexBufferObject::IVertexBufferObject(GLenum target) : target(target)
{
    if (!Extensions || !Extensions->GL_VERSION_1_5)
        throw Sys::DeveloperException("OpenGL 1.5 unsupported.");
    glGenBuffers(1, &handle);
}

IVertexBufferObject::~IVertexBufferObject()
{
    if (handle != 0)
        glDeleteBuffers(1, &handle);
}

void IVertexBufferObject::Allocate(int bytes, GLenum usage)
{
    glBindBuffer(target, handle);
    glBufferData(target, bytes, nullptr, usage);
    sizeInBytes = bytes;
}

void IVertexBufferObject::Reallocate(int bytes, const char* failure)
{
    DrainErrors();
    glBindBuffer(target, handle);
    GLint usage = GL_STATIC_DRAW;
    glGetBufferParameteriv(target, GL_BUFFER_USAGE, &usage);
    glBufferData(target, bytes, nullptr, static_cast<GLenum>(usage));
    const GLenum error = glGetError();
    ReleasePackBinding();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "%s", failure);
    sizeInBytes = bytes;
}

void IVertexBufferObject::Resize(int count)
{
    if (count < 1)
        throw Sys::DeveloperException("Invalid <Size> parameter: %d", count);
    Reallocate(count, "Failed to resize buffer.");
}

void IVertexBufferObject::ReleasePackBinding() const
{
    // A pack buffer left bound would turn every later read of pixels into client memory
    // into a write into this buffer.
    if (target == GL_PIXEL_PACK_BUFFER)
        glBindBuffer(target, 0);
}

void* IVertexBufferObject::Map() const
{
    DrainErrors();
    glBindBuffer(target, handle);
    void* data = glMapBuffer(target, GL_WRITE_ONLY);
    if (data == nullptr) {
        const GLenum error = glGetError();
        if (error != GL_NO_ERROR)
            Exception::Throw(*this, error, "Failed to map buffer.");
        throw Sys::Exception("Failed to map buffer.");
    }
    return data;
}

void IVertexBufferObject::Unmap() const
{
    glBindBuffer(target, handle);
    const GLboolean unmapped = glUnmapBuffer(target);
    ReleasePackBinding();
    if (unmapped != GL_TRUE)
        throw Sys::Exception("Failed to unmap buffer.");
}

} // namespace GL
