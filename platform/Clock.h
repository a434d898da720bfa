#pragma once

#include <cstdint>

namespace Platform {

// Wall-clock milliseconds since the process started (monotonic clock). This is what the
// engine's frame timer expects of clock(); the C clock() of Linux counts CPU time.
int32_t GetClockMilliseconds();

} // namespace Platform
