#pragma once

namespace Korvo {

// Frames per second as the overlay shows it: counted over whole periods of at least one
// second, rounded to the nearest integer; 0 until the first period has passed.
class FrameRateCounter {
public:
    // Adds one frame that took the given milliseconds.
    void AddFrame(int elapsedMilliseconds);

    int GetFramesPerSecond() const { return FramesPerSecond; }

private:
    int FrameCount = 0;
    float AccumulatedTime = 0.0f;   // seconds
    int FramesPerSecond = 0;
};

} // namespace Korvo
