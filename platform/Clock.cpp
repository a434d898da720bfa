#include "platform/Clock.h"

#include <chrono>

namespace Platform {

namespace {
// Taken before any other global of the program is built, so a clock read during static
// initialisation already measures from the start of the process.
const std::chrono::steady_clock::time_point g_Start __attribute__((init_priority(101))) =
    std::chrono::steady_clock::now();
} // namespace

int32_t GetClockMilliseconds()
{
    const auto elapsed = std::chrono::steady_clock::now() - g_Start;
    return static_cast<int32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

} // namespace Platform
