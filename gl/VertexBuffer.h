#pragma once

#include "gl/IVertexBufferObject.h"
#include "gl/VertexFormat.h"

namespace GL {

// Vertices of one compiled format.
class VertexBuffer : public IVertexBufferObject {
public:
    // usage: GL_STREAM_DRAW or GL_STATIC_DRAW.
    VertexBuffer(const VertexFormat& format, int numVertices, GLenum usage);
    ~VertexBuffer() override = default;

    std::string GetTypeName() const override { return "GL::VertexBuffer"; }
    void Resize(int numVertices) override;

    const VertexFormat& GetFormat() const { return format; }
    int GetNumVertices() const { return numVertices; }
    int GetVertexSize() const { return vertexSize; }

private:
    VertexFormat format;
    int numVertices;
    int vertexSize;
};

} // namespace GL
