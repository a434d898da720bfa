#include "render/FrameRateCounter.h"

#include <cmath>

namespace Korvo {

void FrameRateCounter::AddFrame(int elapsedMilliseconds)
{
    ++FrameCount;
    AccumulatedTime += static_cast<float>(elapsedMilliseconds) / 1000.0f;
    if (AccumulatedTime >= 1.0f) {
        FramesPerSecond = static_cast<int>(std::floor(FrameCount / AccumulatedTime + 0.5f));
        AccumulatedTime = 0.0f;
        FrameCount = 0;
    }
}

} // namespace Korvo
