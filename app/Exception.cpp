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
    Compose(std::string(), format, args);
    va_end(args);
}

Exception::Exception(const IRTTIObject& who, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Compose(who.GetTypeName() + "\n\n", format, args);
    va_end(args);
}

Exception::Exception(Where where, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Compose(std::string(where.Name) + "\n\n", format, args);
    va_end(args);
}

Exception::Exception(Prebuilt, std::string text) : message(std::move(text))
{
    Record();
}

// Copies (throwing by value, catching) carry the text without logging it again.
Exception::Exception(const Exception& other) : Log(), message(other.message) {}

void Exception::Compose(const std::string& prefix, const char* format, va_list args)
{
    message = prefix + FormatV(format, args);
    Record();
}

void Exception::Record()
{
    if (!message.empty())
        Message(Error, "%s", message.c_str());
}

} // namespace Sys
