#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"

namespace GL {
class VertexBuffer;
class IndexBuffer;
} // namespace GL

namespace Korvo {

struct PrimitiveBufferPattern;

// The fixed topology of the primitives drawn from silhouette edges, uploaded once: a
// pattern repeated 5000 times in a static index buffer, and the per-vertex corner
// constants in a static one-attribute vertex buffer.
class IPrimitiveBuffer : public IObject {
public:
    ~IPrimitiveBuffer() override;
    std::string GetTypeName() const override { return "Korvo::PrimitiveBuffer"; }

    Sys::Ptr<const GL::VertexBuffer> GetVertexBuffer() const;
    Sys::Ptr<const GL::IndexBuffer> GetIndexBuffer() const;

protected:
    IPrimitiveBuffer() = default;
    // Creates both buffers from the pattern; Attribute is the vertex attribute index.
    void Create(const PrimitiveBufferPattern& pattern, int Attribute);

    Sys::Ptr<GL::VertexBuffer> VertexBuffer;
    Sys::Ptr<GL::IndexBuffer> IndexBuffer;
};

} // namespace Korvo
