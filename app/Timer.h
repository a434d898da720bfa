#pragma once

#include "app/IObject.h"

#include <cstdint>
#include <deque>

namespace Utils {

// Milliseconds between successive frames, optionally averaged over the last few.
class Timer : public Sys::IObject {
public:
    // Returns wall-clock milliseconds, or -1 when no clock is available.
    using ClockFunction = int32_t (*)();

    explicit Timer(uint32_t sampleCount, ClockFunction clock = nullptr);
    ~Timer() override = default;

    // 0 on the first call; afterwards the (averaged) time since the previous call.
    int32_t GetDeltaTime();

private:
    uint32_t sampleCount;
    int32_t lastClock = -1;
    std::deque<int32_t> samples;
    ClockFunction clock;
};

} // namespace Utils
