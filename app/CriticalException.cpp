#include "app/CriticalException.h"

namespace Sys {

CriticalException::CriticalException(const char* format, ...)
    : Exception(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    Compose(std::string(), format, args);
    va_end(args);
}

} // namespace Sys
