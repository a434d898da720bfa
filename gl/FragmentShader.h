#pragma once

#include "gl/IShader.h"

namespace GL {

class FragmentShader : public IShader {
public:
    explicit FragmentShader(const std::string& source) : IShader(GL_FRAGMENT_SHADER, source) {}
    std::string GetTypeName() const override { return "GL::FragmentShader"; }
};

} // namespace GL
