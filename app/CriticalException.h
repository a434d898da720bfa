#pragma once

#include "app/Exception.h"

namespace Sys {

// Failures of the display layer.
class CriticalException : public Exception {
public:
    CriticalException(const char* format, ...) __attribute__((format(printf, 2, 3)));

protected:
    CriticalException(Prebuilt tag, std::string text) : Exception(tag, std::move(text)) {}
};

} // namespace Sys
