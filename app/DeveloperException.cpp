#include "app/DeveloperException.h"

#include "app/IObject.h"

namespace Sys {

namespace {

std::string Tail(const char* format, va_list args)
{
    if (format == nullptr)
        return std::string();
    return "\n" + Exception::FormatV(format, args);
}

} // namespace

const char* DeveloperException::GetCodeName(int code)
{
    static const char* const names[] = {
        "ERR_INVALID_ENUM", "ERR_INVALID_VALUE", "ERR_INVALID_PARAMETER",
        "ERR_INVALID_RAW_POINTER", "ERR_INVALID_CALL", "ERR_INVALID_THROW",
        "ERR_METHOD_NOT_IMPLEMENTED",
    };
    if (code < 0 || code >= static_cast<int>(sizeof(names) / sizeof(names[0])))
        return "";
    return names[code];
}

DeveloperException::DeveloperException(const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    message = FormatV(format, args);
    va_end(args);
    Record();
}

DeveloperException::DeveloperException(ErrorCode code, const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    message = GetCodeName(code) + Tail(format, args);
    va_end(args);
    Record();
}

DeveloperException::DeveloperException(const IRTTIObject& who, ErrorCode code,
                                       const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    message = who.GetTypeName() + "\n\n" + GetCodeName(code) + Tail(format, args);
    va_end(args);
    Record();
}

DeveloperException::DeveloperException(const IRTTIObject& who, const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    message = who.GetTypeName() + "\n\n" + Tail(format, args);
    va_end(args);
    Record();
}

DeveloperException::DeveloperException(Where where, ErrorCode code, const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    message = std::string(where.Name) + "\n\n" + GetCodeName(code) + Tail(format, args);
    va_end(args);
    Record();
}

} // namespace Sys
