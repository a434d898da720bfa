#include "gl/VertexBuffer.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"

namespace GL {

VertexBuffer::VertexBuffer(const VertexFormat& format, int numVertices, GLenum usage)
    : IVertexBufferObject(GL_ARRAY_BUFFER), format(format), numVertices(numVertices),
      vertexSize(format.GetVertexSize())
{
    if (numVertices < 1)
        throw Sys::DeveloperException("Invalid <NumVertices> parameter: %d", numVertices);
    if (!format.IsCompiled())
        throw Sys::DeveloperException("Invalid <Format> parameter. Vertex format must be compiled.");
    if (usage != GL_STREAM_DRAW && usage != GL_STATIC_DRAW)
        throw Sys::DeveloperException("Invalid <Usage> parameter.");
    DrainErrors();
    Allocate(numVertices * vertexSize, usage);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to create vertex buffer.");
}

void VertexBuffer::Resize(int count)
{
    if (count < 1)
        throw Sys::DeveloperException("Invalid <NumVertices> parameter: %d", count);
    Reallocate(count * vertexSize, "Failed to resize vertex buffer.");
    numVertices = count;
}

} // namespace GL
