#include "app/Log.h"

#include <cstdint>
#include <cstdio>
#include <ctime>

#ifndef KORVO_VERSION
#define KORVO_VERSION "unknown"
#endif

namespace Sys {

namespace {

FILE* g_File = nullptr;
// Every Sys::Ptr is a Log, so constructions run into the billions in a long run; the
// file is opened by the first one only and never again, whatever the count does.
uint64_t g_Constructions = 0;
bool g_Opened = false;

void Write(const char* text)
{
    if (g_File == nullptr)
        return;
    std::fputs(text, g_File);
    std::fflush(g_File);
}

// Formats into a fixed buffer; vsnprintf truncates instead of overrunning.
void Format(char (&buffer)[Log::FormatBufferSize], const char* format, va_list args)
{
    if (format == nullptr) {
        buffer[0] = '\0';
        return;
    }
    if (std::vsnprintf(buffer, sizeof(buffer), format, args) < 0)
        buffer[0] = '\0';
}

void Open()
{
    g_File = std::fopen(Log::FileName(), "w+");
    if (g_File == nullptr)
        return;
    std::time_t now = std::time(nullptr);
    const char* when = std::ctime(&now);
    std::fputs("----- Log opened -----\n\n", g_File);
    std::fprintf(g_File, "Local time: %s\n", when != nullptr ? when : "unknown\n");
    std::fputs("Welcome to Korvo Demo 2007.\n", g_File);
    // The program's version in place of a web address: it has no site of its own.
    std::fputs("Korvo " KORVO_VERSION "\n", g_File);
}

} // namespace

Log::Log()
{
    ++g_Constructions;
    if (!g_Opened) {
        g_Opened = true;
        Open();
    }
}

void Log::Print(const char* text)
{
    if (text != nullptr)
        Write(text);
}

void Log::PrintFormat(const char* format, ...)
{
    char buffer[FormatBufferSize];
    va_list args;
    va_start(args, format);
    Format(buffer, format, args);
    va_end(args);
    Write(buffer);
}

void Log::Message(MessageKind kind, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    MessageV(kind, format, args);
    va_end(args);
}

void Log::MessageV(MessageKind kind, const char* format, va_list args)
{
    char text[FormatBufferSize];
    Format(text, format, args);

    const char* wrapper = nullptr;
    switch (kind) {
    case Warning: wrapper = "WARNING: %s"; break;
    case Error: wrapper = "\n---\nERROR:\n\n%s\n---\n"; break;
    case Developer: wrapper = "DEVELOPER: %s"; break;
    default: return;
    }
    if (g_File == nullptr)
        return;
    std::fprintf(g_File, wrapper, text);
    std::fflush(g_File);
}

void Log::Close()
{
    if (g_File == nullptr)
        return;
    std::fputs("\n\n--- Log closed ---", g_File);
    std::fclose(g_File);
    g_File = nullptr;
}

bool Log::IsOpen()
{
    return g_File != nullptr;
}

const char* Log::FileName()
{
    return "sys_Log.log";
}

} // namespace Sys
