#pragma once

#include "app/Ptr.h"
#include "gl/IObject.h"
#include "gl/IVertexBufferObject.h"

#include <GL/glew.h>

#include <string>
#include <string_view>

namespace GL {

// A linked GLSL program. The setters act on the program current in OpenGL: the caller
// binds it first (through the render device). Uniform names are views so that the
// per-frame calls with literal names build no strings.
class IProgram : public IObject {
public:
    ~IProgram() override = default;

    virtual GLuint GetHandle() const = 0;
    virtual void Link() = 0;
    virtual std::string GetInfoLog() const = 0;
    virtual void Validate() const = 0;
    // `count` vectors of `dimension` 1 to 4 components.
    virtual void SetUniformArray(std::string_view name, int count, int dimension,
                                 const int* values) const = 0;
    virtual void SetUniformArray(std::string_view name, int count, int dimension,
                                 const float* values) const = 0;
    virtual void SetUniformBuffer(std::string_view name,
                                  Sys::Ptr<const IVertexBufferObject> buffer) const = 0;
    virtual void SetUniformMatrix4(std::string_view name, const float* m) const = 0;
    virtual void SetUniformMatrix3(std::string_view name, const float* m) const = 0;
    virtual void SetUniformMatrix2(std::string_view name, const float* m) const = 0;
    virtual void SetUniform4i(std::string_view name, const int* v) const = 0;
    virtual void SetUniform3i(std::string_view name, const int* v) const = 0;
    virtual void SetUniform2i(std::string_view name, const int* v) const = 0;
    virtual void SetUniform4f(std::string_view name, const float* v) const = 0;
    virtual void SetUniform3f(std::string_view name, const float* v) const = 0;
    virtual void SetUniform2f(std::string_view name, const float* v) const = 0;
    virtual void SetUniform1i(std::string_view name, int value) const = 0;
    virtual void SetUniform1f(std::string_view name, float value) const = 0;
    virtual void SetUniformBool(std::string_view name, bool value) const = 0;
    virtual void Bind() const = 0;
    virtual void Unbind() const = 0;
};

} // namespace GL
