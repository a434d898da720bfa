#pragma once

#include "app/Ptr.h"
#include "gl/IObject.h"
#include "gl/IVertexBufferObject.h"

#include <GL/glew.h>

#include <string>

namespace GL {

// A linked GLSL program. The setters act on the program current in OpenGL: the caller
// binds it first (through the render device).
class IProgram : public IObject {
public:
    ~IProgram() override = default;

    virtual GLuint GetHandle() const = 0;
    virtual void Link() = 0;
    virtual std::string GetInfoLog() const = 0;
    virtual void Validate() const = 0;
    // `count` vectors of `dimension` 1 to 4 components.
    virtual void SetUniformArray(const std::string& name, int count, int dimension,
                                 const int* values) const = 0;
    virtual void SetUniformArray(const std::string& name, int count, int dimension,
                                 const float* values) const = 0;
    virtual void SetUniformBuffer(const std::string& name,
                                  Sys::Ptr<const IVertexBufferObject> buffer) const = 0;
    virtual void SetUniformMatrix4(const std::string& name, const float* m) const = 0;
    virtual void SetUniformMatrix3(const std::string& name, const float* m) const = 0;
    virtual void SetUniformMatrix2(const std::string& name, const float* m) const = 0;
    virtual void SetUniform4i(const std::string& name, const int* v) const = 0;
    virtual void SetUniform3i(const std::string& name, const int* v) const = 0;
    virtual void SetUniform2i(const std::string& name, const int* v) const = 0;
    virtual void SetUniform4f(const std::string& name, const float* v) const = 0;
    virtual void SetUniform3f(const std::string& name, const float* v) const = 0;
    virtual void SetUniform2f(const std::string& name, const float* v) const = 0;
    virtual void SetUniform1i(const std::string& name, int value) const = 0;
    virtual void SetUniform1f(const std::string& name, float value) const = 0;
    virtual void SetUniformBool(const std::string& name, bool value) const = 0;
    virtual void Bind() const = 0;
    virtual void Unbind() const = 0;
};

} // namespace GL
