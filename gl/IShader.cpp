#include "gl/IShader.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"
#include "gl/InfoLog.h"

namespace GL {

IShader::IShader(GLenum target, const std::string& source) : target(target)
{
    if (!Extensions || !Extensions->GL_VERSION_2_0)
        throw Sys::Exception("OpenGL 2.0 unsupported.");
    if (source.empty())
        throw Sys::Exception("Invalid <SourceStr> parameter.");
    const char* failure = nullptr;
    switch (target) {
    case GL_VERTEX_SHADER: failure = "Failed to create vertex shader."; break;
    case GL_FRAGMENT_SHADER: failure = "Failed to create fragment shader."; break;
    case 0x8DD9: failure = "Failed to create geometry shader."; break;
    default:
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_ENUM,
                                      "Unknown <Target> parameter.");
    }
    handle = glCreateShader(target);
    if (handle == 0)
        Exception::Throw(*this, glGetError(), "%s", failure);
    try {
        Compile(source);
    } catch (const Sys::Exception&) {
        glDeleteShader(handle);
        handle = 0;
        throw;
    }
}

IShader::~IShader()
{
    if (handle != 0)
        glDeleteShader(handle);
}

void IShader::Compile(const std::string& source)
{
    DrainErrors();
    const char* text = source.c_str();
    glShaderSource(handle, 1, &text, nullptr);
    glCompileShader(handle);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(*this, error, "Failed to load shader.");
    GLint compiled = GL_FALSE;
    glGetShaderiv(handle, GL_COMPILE_STATUS, &compiled);
    if (compiled != GL_TRUE) {
        PrintFormat("\nFailed to compile shader. GLSL compiler log:\n\n%s", GetInfoLog().c_str());
        throw Sys::Exception(
            "Failed to compile shader. See program log for GLSL compiler log details.");
    }
    const std::string warnings = GetInfoLog();
    if (!warnings.empty())
        PrintFormat("%s\n", warnings.c_str());
}

std::string IShader::GetInfoLog() const
{
    return ReadInfoLog(*this, handle, true);
}

} // namespace GL
