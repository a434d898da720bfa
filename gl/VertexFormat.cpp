#include "gl/VertexFormat.h"

#include "app/DeveloperException.h"
#include "gl/CapsDesc.h"

namespace GL {

VertexFormat::VertexFormat(TwoFloatsAtZero)
{
    attributes[0] = Attribute{2, GL_FLOAT, false, 0};
    used.set(0);
    vertexSize = 8;
    compiled = true;
}

int VertexFormat::GetTypeSize(GLenum type)
{
    switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE: return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT: return 2;
    case GL_INT:
    case GL_UNSIGNED_INT:
    case GL_FLOAT: return 4;
    case GL_DOUBLE: return 8;
    default: return 0;
    }
}

void VertexFormat::AddAttribute(int index, int count, GLenum type)
{
    int limit = Caps ? Caps->MaxVertexAttribs : 0;
    if (limit > MaxAttributes)
        limit = MaxAttributes;
    if (index < 0 || index >= limit)
        throw Sys::Exception("Invalid <Index> attribute. Generic attribute <%d> exceed "
                             "implementation-dependent constant GL_MAX_VERTEX_ATTRIBS (%d).",
                             index, limit);
    if (used[index])
        throw Sys::DeveloperException("Generic attribute <%d> already exist in attribute list.",
                                      index);
    if (type != GL_SHORT && type != GL_FLOAT)
        throw Sys::DeveloperException("Invalid <Type> parameter.");
    attributes[index] = Attribute{count, type, false, 0};
    used.set(index);
}

void VertexFormat::Compile()
{
    int size = 0;
    for (int index = 0; index < MaxAttributes; ++index) {
        if (!used[index])
            continue;
        attributes[index].Offset = size;
        size += attributes[index].Count * GetTypeSize(attributes[index].Type);
    }
    vertexSize = size;
    compiled = true;
}

} // namespace GL
