#include "app/FatalException.h"

namespace Sys {

FatalException::FatalException(const char* format, ...)
    : CriticalException(Prebuilt{}, std::string())
{
    va_list args;
    va_start(args, format);
    message = FormatV(format, args);
    va_end(args);
    Record();
}

} // namespace Sys
