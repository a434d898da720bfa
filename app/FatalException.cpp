#include "app/FatalException.h"

namespace Sys {

FatalException::FatalException(const char* format, ...)
    : CriticalException(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    Compose(std::string(), format, args);
    va_end(args);
}

} // namespace Sys
