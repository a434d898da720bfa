#include "gl/Exception.h"

#include "app/DeveloperException.h"
#include "app/IObject.h"

#include <cstdarg>
#include <string>

namespace GL {

namespace {

// The name of the error being raised; raising without an error, or with one this code
// does not know, is a developer failure.
const char* KnownErrorName(GLenum error, const char* noErrorText)
{
    if (error == 0)
        throw Sys::DeveloperException("%s", noErrorText);
    const char* name = Exception::GetErrorName(error);
    if (*name == '\0')
        throw Sys::DeveloperException("Unknown OpenGL error code.");
    return name;
}

} // namespace

const char* Exception::GetErrorName(GLenum error)
{
    switch (error) {
    case 0x0500: return "GL_INVALID_ENUM";
    case 0x0501: return "GL_INVALID_VALUE";
    case 0x0502: return "GL_INVALID_OPERATION";
    case 0x0503: return "GL_STACK_OVERFLOW";
    case 0x0504: return "GL_STACK_UNDERFLOW";
    case 0x0505: return "GL_OUT_OF_MEMORY";
    case 0x0506: return "GL_INVALID_FRAMEBUFFER_OPERATION";
    case 0x8031: return "GL_TABLE_TOO_LARGE";
    case 0x18A24: return "GLU_INVALID_ENUM";
    case 0x18A25: return "GLU_INVALID_VALUE";
    case 0x18A26: return "GLU_OUT_OF_MEMORY";
    default: return "";
    }
}

void Exception::Throw(const Sys::IRTTIObject& who, GLenum error, const char* format, ...)
{
    const char* name = KnownErrorName(error, "No OpenGL errors has occured.");
    va_list args;
    va_start(args, format);
    const std::string text = Sys::Exception::FormatV(format, args);
    va_end(args);
    throw Sys::Exception("%s\n\n%s\n%s", who.GetTypeName().c_str(), name, text.c_str());
}

void Exception::Throw(GLenum error, const char* format, ...)
{
    const char* name = KnownErrorName(error, "Invalid Throw() call: no OpenGL errors.");
    va_list args;
    va_start(args, format);
    const std::string text = Sys::Exception::FormatV(format, args);
    va_end(args);
    throw Sys::Exception("%s\n%s", name, text.c_str());
}

} // namespace GL
