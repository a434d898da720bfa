#include "gl/InfoLog.h"

#include "gl/ErrorCheck.h"
#include "gl/Exception.h"

#include <vector>

namespace GL {

std::string ReadInfoLog(const Sys::IRTTIObject& who, GLuint object, bool shader)
{
    DrainErrors();
    GLint length = 0;
    if (shader)
        glGetShaderiv(object, GL_INFO_LOG_LENGTH, &length);
    else
        glGetProgramiv(object, GL_INFO_LOG_LENGTH, &length);
    if (length < 2)
        return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    GLsizei written = 0;
    if (shader)
        glGetShaderInfoLog(object, length, &written, text.data());
    else
        glGetProgramInfoLog(object, length, &written, text.data());
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(who, error, "Failed to obtain information log.");
    std::string log(text.data());
    if (!log.empty() && log.back() == '\n')
        log.pop_back();
    return log;
}

} // namespace GL
