#pragma once

#include "app/IObject.h"

#include <cstdarg>

namespace Sys {

// The program's one diagnostic channel, "sys_Log.log" in the working directory.
// Classes that write derive from Log; the first construction of any Log opens the file
// and writes the banner. All write operations are static: they touch only shared state.
class Log : public IObject {
public:
    enum MessageKind { Warning = 0, Error = 1, Developer = 2 };

    // Size of the printf-style formatting buffers; longer texts are truncated.
    static constexpr int FormatBufferSize = 4096;

    Log();
    ~Log() override = default;

    static void Print(const char* text);
    static void PrintFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static void Message(MessageKind kind, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    static void MessageV(MessageKind kind, const char* format, va_list args);

    // Writes the closing line and closes the file for good (shutdown only).
    static void Close();

    static bool IsOpen();
    static const char* FileName();
};

} // namespace Sys
