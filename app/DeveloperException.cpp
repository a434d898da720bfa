#include "app/DeveloperException.h"

#include "app/IObject.h"

namespace Sys {

namespace {

// The line break before the text, left out with the text when there is none.
const char* Break(const char* format)
{
    return format != nullptr ? "\n" : "";
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
    Compose(std::string(), format, args);
    va_end(args);
}

DeveloperException::DeveloperException(ErrorCode code, const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    Compose(std::string(GetCodeName(code)) + Break(format), format, args);
    va_end(args);
}

DeveloperException::DeveloperException(const IRTTIObject& who, ErrorCode code,
                                       const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    Compose(who.GetTypeName() + "\n\n" + GetCodeName(code) + Break(format), format, args);
    va_end(args);
}

DeveloperException::DeveloperException(const IRTTIObject& who, const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    Compose(who.GetTypeName() + "\n\n" + Break(format), format, args);
    va_end(args);
}

DeveloperException::DeveloperException(Where where, ErrorCode code, const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    Compose(std::string(where.Name) + "\n\n" + GetCodeName(code) + Break(format), format,
            args);
    va_end(args);
}

} // namespace Sys
