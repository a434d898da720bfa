#pragma once

#include "app/Log.h"

#include <cstdarg>
#include <string>

namespace Sys {

class IRTTIObject;

// Names the class or function that failed, for the "where" forms of the constructors:
//     throw Sys::Exception(Sys::Where("GL::IShader"), "Failed to compile shader.");
// A distinct type keeps these forms apart from the plain printf-style ones.
struct Where {
    explicit Where(const char* name) : Name(name != nullptr ? name : "") {}
    const char* Name;
};

// An ordinary failure. The complete text is built at construction and written to the
// log as an error entry at once, so handled failures are recorded too.
class Exception : public Log {
public:
    Exception(const char* format, ...) __attribute__((format(printf, 2, 3)));
    Exception(const IRTTIObject& who, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
    Exception(Where where, const char* format, ...) __attribute__((format(printf, 3, 4)));

    Exception(const Exception& other);
    Exception& operator=(const Exception& other) = default;
    ~Exception() override = default;

    const std::string& GetMessageText() const { return message; }

    // Formats printf-style into the 4096-character buffer, truncating longer texts.
    static std::string FormatV(const char* format, va_list args);

protected:
    struct Prebuilt {};
    // For derived classes that build the text themselves; logs it like the others.
    Exception(Prebuilt, std::string text);

    void Record();
    // Sets the text to prefix followed by the printf-style part, and logs it.
    void Compose(const std::string& prefix, const char* format, va_list args);

    std::string message;
};

} // namespace Sys
