#pragma once

#include "gl/IObject.h"

#include <GL/glew.h>

#include <string>

namespace GL {

// A GLSL shader object, compiled at construction. The compiler's log goes to the log file.
class IShader : public IObject {
public:
    // target: GL_VERTEX_SHADER, GL_FRAGMENT_SHADER or the geometry-shader target.
    IShader(GLenum target, const std::string& source);
    ~IShader() override;

    std::string GetTypeName() const override { return "GL::IShader"; }

    GLuint GetHandle() const { return handle; }
    GLenum GetTarget() const { return target; }

    // The information log without its last line break; empty when there is none.
    std::string GetInfoLog() const;

private:
    void Compile(const std::string& source);

    GLuint handle = 0;
    GLenum target;
};

} // namespace GL
