#pragma once

#include "app/CriticalException.h"

namespace Sys {

// Failures that make running impossible: no window, no accelerated OpenGL.
class FatalException : public CriticalException {
public:
    FatalException(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

} // namespace Sys
