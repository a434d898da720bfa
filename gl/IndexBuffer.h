#pragma once

#include "gl/IVertexBufferObject.h"

namespace GL {

// 16-bit vertex indices.
class IndexBuffer : public IVertexBufferObject {
public:
    // usage: GL_STREAM_DRAW or GL_STATIC_DRAW.
    IndexBuffer(int numIndices, GLenum usage);
    ~IndexBuffer() override = default;

    std::string GetTypeName() const override { return "GL::IndexBuffer"; }
    void Resize(int numIndices) override;

    // Writes the first `count` indices.
    void SetData(int count, const unsigned short* data);

    int GetNumIndices() const { return numIndices; }
    GLenum GetIndexType() const { return GL_UNSIGNED_SHORT; }
    int GetIndexSize() const { return 2; }

private:
    int numIndices;
};

} // namespace GL
