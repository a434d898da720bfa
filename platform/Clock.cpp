#include "platform/Clock.h"

#include <chrono>

namespace Platform {

namespace {
const std::chrono::steady_clock::time_point g_Start = std::chrono::steady_clock::now();
}

int32_t GetClockMilliseconds()
{
    const auto elapsed = std::chrono::steady_clock::now() - g_Start;
    return static_cast<int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

} // namespace Platform
