#include "gl/Program.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"
#include "gl/InfoLog.h"

#include <vector>

namespace GL {

Program::Program()
{
    if (!Extensions || !Extensions->GL_VERSION_2_0)
        throw Sys::Exception("OpenGL 2.0 unsupported.");
    DrainErrors();
    handle = glCreateProgram();
    if (handle == 0)
        Exception::Throw(*this, glGetError(), "Failed to create program object.");
}

Program::~Program()
{
    uniforms.clear();
    if (handle != 0)
        glDeleteProgram(handle);
}

void Program::AttachShader(Sys::Ptr<const IShader> shader)
{
    DrainErrors();
    glAttachShader(handle, shader->GetHandle());
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to attach shader to program object.");
}

void Program::BindAttribute(const std::string& name, int index)
{
    DrainErrors();
    glBindAttribLocation(handle, static_cast<GLuint>(index), name.c_str());
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to bind <%s> to generic vertex attribute %d.",
                         name.c_str(), index);
}

void Program::Link()
{
    uniforms.clear();
    DrainErrors();
    glLinkProgram(handle);
    GLint linked = GL_FALSE;
    glGetProgramiv(handle, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
        throw Sys::Exception("Failed to link program object.\n%s", GetInfoLog().c_str());

    UniformTable table;
    GLint count = 0;
    GLint longest = 0;
    glGetProgramiv(handle, GL_ACTIVE_UNIFORMS, &count);
    glGetProgramiv(handle, GL_ACTIVE_UNIFORM_MAX_LENGTH, &longest);
    std::vector<char> name(static_cast<size_t>(longest) + 1, '\0');
    for (GLint index = 0; index < count; ++index) {
        GLsizei length = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(handle, static_cast<GLuint>(index), longest + 1, &length, &size, &type,
                           name.data());
        table[name.data()] = glGetUniformLocation(handle, name.data());
    }
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "An OpenGL error has occured during program object linking.");
    const std::string log = GetInfoLog();
    if (!log.empty())
        PrintFormat("%s\n", log.c_str());
    uniforms.swap(table);
}

std::string Program::GetInfoLog() const
{
    return ReadInfoLog(*this, handle, false);
}

void Program::Validate() const
{
    glValidateProgram(handle);
    GLint valid = GL_FALSE;
    glGetProgramiv(handle, GL_VALIDATE_STATUS, &valid);
    if (valid != GL_TRUE)
        throw Sys::Exception("Failed to validate program object.");
}

int Program::GetUniformLocation(std::string_view name) const
{
    const auto found = uniforms.find(name);
    if (found != uniforms.end())
        return found->second;
    // First use of a name the link did not list (an element past the first of an array, or
    // one the program lacks): the key's own text is the terminated name GL wants.
    const auto added = uniforms.emplace(std::string(name), -1).first;
    added->second = glGetUniformLocation(handle, added->first.c_str());
    return added->second;
}

void Program::SetUniformArray(std::string_view name, int count, int dimension,
                              const int* values) const
{
    if (values == nullptr)
        throw Sys::DeveloperException("Invalid <Values> parameter.");
    const int location = GetUniformLocation(name);
    switch (dimension) {
    case 1: glUniform1iv(location, count, values); break;
    case 2: glUniform2iv(location, count, values); break;
    case 3: glUniform3iv(location, count, values); break;
    case 4: glUniform4iv(location, count, values); break;
    default: throw Sys::DeveloperException("Invalid <Dimension> parameter.");
    }
}

void Program::SetUniformArray(std::string_view name, int count, int dimension,
                              const float* values) const
{
    if (values == nullptr)
        throw Sys::DeveloperException("Invalid <Values> parameter.");
    const int location = GetUniformLocation(name);
    switch (dimension) {
    case 1: glUniform1fv(location, count, values); break;
    case 2: glUniform2fv(location, count, values); break;
    case 3: glUniform3fv(location, count, values); break;
    case 4: glUniform4fv(location, count, values); break;
    default: throw Sys::DeveloperException("Invalid <Dimension> parameter.");
    }
}

void Program::SetUniformBuffer(std::string_view name,
                               Sys::Ptr<const IVertexBufferObject> buffer) const
{
    if (!Extensions->GL_EXT_bindable_uniform)
        throw Sys::DeveloperException("Extension GL_EXT_bindable_uniform unsupported.");
    DrainErrors();
    const int location = GetUniformLocation(name);
    glUniformBufferEXT(handle, location, buffer ? buffer->GetHandle() : 0);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to attach buffer object to uniform <%s>.",
                         std::string(name).c_str());
}

void Program::SetUniformMatrix4(std::string_view name, const float* m) const
{
    glUniformMatrix4fv(GetUniformLocation(name), 1, GL_FALSE, m);
}

void Program::SetUniformMatrix3(std::string_view name, const float* m) const
{
    glUniformMatrix3fv(GetUniformLocation(name), 1, GL_FALSE, m);
}

void Program::SetUniformMatrix2(std::string_view name, const float* m) const
{
    glUniformMatrix2fv(GetUniformLocation(name), 1, GL_FALSE, m);
}

void Program::SetUniform4i(std::string_view name, const int* v) const
{
    glUniform4iv(GetUniformLocation(name), 1, v);
}

void Program::SetUniform3i(std::string_view name, const int* v) const
{
    glUniform3iv(GetUniformLocation(name), 1, v);
}

void Program::SetUniform2i(std::string_view name, const int* v) const
{
    glUniform2iv(GetUniformLocation(name), 1, v);
}

void Program::SetUniform4f(std::string_view name, const float* v) const
{
    glUniform4fv(GetUniformLocation(name), 1, v);
}

void Program::SetUniform3f(std::string_view name, const float* v) const
{
    glUniform3fv(GetUniformLocation(name), 1, v);
}

void Program::SetUniform2f(std::string_view name, const float* v) const
{
    glUniform2fv(GetUniformLocation(name), 1, v);
}

void Program::SetUniform1i(std::string_view name, int value) const
{
    glUniform1i(GetUniformLocation(name), value);
}

void Program::SetUniform1f(std::string_view name, float value) const
{
    glUniform1f(GetUniformLocation(name), value);
}

void Program::SetUniformBool(std::string_view name, bool value) const
{
    glUniform1i(GetUniformLocation(name), value ? 1 : 0);
}

void Program::Bind() const
{
    glUseProgram(handle);
}

void Program::Unbind() const
{
    glUseProgram(0);
}

} // namespace GL
