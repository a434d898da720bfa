#pragma once

#include <GL/glew.h>

#include <bitset>

namespace GL {

// How the generic vertex attributes lie in one vertex of a buffer. Attributes are laid out
// by ascending index whatever the order they were added in. A plain value: the render
// device copies it every time a format is set, so it holds no heap storage.
class VertexFormat {
public:
    static constexpr int MaxAttributes = 32;

    struct Attribute {
        int Count = 0;
        GLenum Type = 0;
        bool Normalized = false;
        int Offset = 0;
    };

    // Selects the constructor of the full-screen quads' format.
    struct TwoFloatsAtZero {};

    VertexFormat() = default;
    // One attribute: index 0, two floats; already compiled.
    explicit VertexFormat(TwoFloatsAtZero);

    // index must lie below GL::Caps->MaxVertexAttribs; type is GL_SHORT or GL_FLOAT.
    void AddAttribute(int index, int count, GLenum type);
    void Compile();

    bool Has(int index) const { return index >= 0 && index < MaxAttributes && used[index]; }
    const Attribute& Get(int index) const { return attributes[index]; }
    int GetVertexSize() const { return vertexSize; }
    bool IsCompiled() const { return compiled; }
    int GetAttributeCount() const { return static_cast<int>(used.count()); }

    static int GetTypeSize(GLenum type);

private:
    Attribute attributes[MaxAttributes];
    std::bitset<MaxAttributes> used;
    int vertexSize = 0;
    bool compiled = false;
};

} // namespace GL
