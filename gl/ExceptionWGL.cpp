#include "gl/ExceptionWGL.h"

#include "app/IObject.h"
#include "platform/Platform.h"

#include <cstdarg>
#include <string>

namespace GL {

const char* ExceptionWGL::GetErrorName(unsigned long lastError)
{
    switch (lastError) {
    case 6: return "ERROR_INVALID_HANDLE";
    case 13: return "ERROR_INVALID_DATA";
    case 1450: return "ERROR_NO_SYSTEM_RESOURCES";
    case 2000: return "ERROR_INVALID_PIXEL_FORMAT";
    case 2001: return "ERROR_BAD_DRIVER";
    case 2002: return "ERROR_INVALID_WINDOW_STYLE";
    case 2003: return "ERROR_METAFILE_NOT_SUPPORTED";
    case 2004: return "ERROR_TRANSFORM_NOT_SUPPORTED";
    case 4317: return "ERROR_INVALID_OPERATION";
    default: return "";
    }
}

void ExceptionWGL::Raise(const std::string& className, const std::string& text)
{
    const char* name = GetErrorName(Platform::GetLastError());
    if (*name == '\0')
        throw Sys::Exception("%s\n\n%s", className.c_str(), text.c_str());
    throw Sys::Exception("%s\n\n%s\n%s", className.c_str(), name, text.c_str());
}

void ExceptionWGL::Throw(const Sys::IRTTIObject& who, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = Sys::Exception::FormatV(format, args);
    va_end(args);
    Raise(who.GetTypeName(), text);
}

void ExceptionWGL::Throw(Sys::Where className, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const std::string text = Sys::Exception::FormatV(format, args);
    va_end(args);
    Raise(className.Name, text);
}

} // namespace GL
