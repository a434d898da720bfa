#pragma once

#include "app/Exception.h"

namespace GL {

// Turns the window system's last error into a Sys::Exception naming the failing class,
// the error (when it has a name) and what was being done. The helpers never return.
class ExceptionWGL : public Sys::Exception {
public:
    [[noreturn]] static void Throw(const Sys::IRTTIObject& who, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    [[noreturn]] static void Throw(Sys::Where className, const char* format, ...)
        __attribute__((format(printf, 2, 3)));

    // "ERROR_INVALID_HANDLE" ... "ERROR_INVALID_OPERATION"; "" for values without a name.
    static const char* GetErrorName(unsigned long lastError);

private:
    [[noreturn]] static void Raise(const std::string& className, const std::string& text);
};

} // namespace GL
