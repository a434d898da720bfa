#include "app/Timer.h"

#include "app/Exception.h"
#include "platform/Clock.h"

namespace Utils {

Timer::Timer(uint32_t sampleCount, ClockFunction clock)
    : sampleCount(sampleCount), clock(clock != nullptr ? clock : &Platform::GetClockMilliseconds)
{
    if (this->clock() == -1)
        throw Sys::Exception("Failed to obtain current clock.");
}

int32_t Timer::GetDeltaTime()
{
    if (lastClock == -1) {
        lastClock = clock();
        return 0;
    }
    const int32_t reading = clock();
    const int32_t delta = reading - lastClock;
    lastClock = reading;
    if (sampleCount <= 1)
        return delta;

    samples.push_back(delta);
    if (samples.size() > sampleCount)
        samples.pop_front();
    int64_t sum = 0;
    for (int32_t sample : samples)
        sum += sample;
    return static_cast<int32_t>(sum / static_cast<int64_t>(samples.size()));
}

} // namespace Utils
