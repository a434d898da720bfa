#include "gl/IndexBuffer.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"

namespace GL {

IndexBuffer::IndexBuffer(int numIndices, GLenum usage)
    : IVertexBufferObject(GL_ELEMENT_ARRAY_BUFFER), numIndices(numIndices)
{
    if (numIndices < 1)
        throw Sys::DeveloperException("Invalid <NumIndices> parameter: %d", numIndices);
    if (usage != GL_STREAM_DRAW && usage != GL_STATIC_DRAW)
        throw Sys::DeveloperException("Invalid <Usage> parameter.");
    DrainErrors();
    Allocate(numIndices * 2, usage);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to create index buffer.");
}

void IndexBuffer::Resize(int count)
{
    if (count < 1)
        throw Sys::DeveloperException("Invalid <NumIndices> parameter: %d", count);
    Reallocate(count * 2, "Failed to resize index buffer.");
    numIndices = count;
}

void IndexBuffer::SetData(int count, const unsigned short* data)
{
    if (count > numIndices)
        throw Sys::DeveloperException("Invalid <OffsetIndices> or <CopyIndices> parameter.");
    if (data == nullptr)
        throw Sys::DeveloperException("Invalid <Data> parameter.");
    DrainErrors();
    glBindBuffer(target, handle);
    glBufferSubData(target, 0, count * 2, data);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to set index buffer data.");
}

} // namespace GL
