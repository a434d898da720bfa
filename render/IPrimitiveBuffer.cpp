#include "render/IPrimitiveBuffer.h"

#include "gl/IndexBuffer.h"
#include "gl/VertexBuffer.h"
#include "render/PrimitiveBufferPattern.h"

#include <cstring>

namespace Korvo {

IPrimitiveBuffer::~IPrimitiveBuffer() = default;

Sys::Ptr<const GL::VertexBuffer> IPrimitiveBuffer::GetVertexBuffer() const
{
    return Sys::Ptr<const GL::VertexBuffer>(VertexBuffer);
}

Sys::Ptr<const GL::IndexBuffer> IPrimitiveBuffer::GetIndexBuffer() const
{
    return Sys::Ptr<const GL::IndexBuffer>(IndexBuffer);
}

void IPrimitiveBuffer::Create(const PrimitiveBufferPattern& pattern, int attribute)
{
    const int vertices = pattern.VerticesPerPrimitive * PrimitiveBufferPattern::Primitives;
    const bool quad = !pattern.QuadValues.empty();

    GL::VertexFormat format;
    format.AddAttribute(attribute, pattern.Components, quad ? GL_FLOAT : GL_SHORT);
    format.Compile();
    VertexBuffer = Sys::Ptr<GL::VertexBuffer>(new GL::VertexBuffer(format, vertices, GL_STATIC_DRAW));
    void* target = VertexBuffer->Map();
    if (quad) {
        const std::vector<float> values = PrimitiveBufferPattern::Repeat(pattern.QuadValues);
        std::memcpy(target, values.data(), values.size() * sizeof(float));
    } else {
        const std::vector<int16_t> values = PrimitiveBufferPattern::Repeat(pattern.WedgeValues);
        std::memcpy(target, values.data(), values.size() * sizeof(int16_t));
    }
    VertexBuffer->Unmap();

    const std::vector<uint16_t> indices = pattern.RepeatIndices();
    IndexBuffer = Sys::Ptr<GL::IndexBuffer>(
        new GL::IndexBuffer(static_cast<int>(indices.size()), GL_STATIC_DRAW));
    IndexBuffer->SetData(static_cast<int>(indices.size()), indices.data());
}

} // namespace Korvo
