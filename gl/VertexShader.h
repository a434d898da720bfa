#pragma once

#include "gl/IShader.h"

namespace GL {

class VertexShader : public IShader {
public:
    explicit VertexShader(const std::string& source) : IShader(GL_VERTEX_SHADER, source) {}
    std::string GetTypeName() const override { return "GL::VertexShader"; }
};

} // namespace GL
