#include "app/Exception.h"

#include "app/IObject.h"

#include <cstdio>

namespace Sys {

std::string Exception::FormatV(const char* format, va_list args)
{
    if (format == nullptr)
        return std::string();
    char buffer[FormatBufferSize];
    if (std::vsnprintf(buffer, sizeof(buffer), format, args) < 0)
        return std::string();
    return std::string(buffer);
}

Exception::Exception(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    message = FormatV(format, args);
    va_end(args);
    Record();
}

Exception::Exception(const IRTTIObject& who, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    message = who.GetTypeName() + "\n\n" + FormatV(format, args);
    va_end(args);
    Record();
}

Exception::Exception(Where where, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    message = std::string(where.Name) + "\n\n" + FormatV(format, args);
    va_end(args);
    Record();
}

Exception::Exception(Prebuilt, std::string text) : message(std::move(text))
{
    Record();
}

// Copies (throwing by value, catching) carry the text without logging it again.
Exception::Exception(const Exception& other) : Log(), message(other.message) {}

void Exception::Record()
{
    if (!message.empty())
        Message(Error, "%s", message.c_str());
}

} // namespace Sys
