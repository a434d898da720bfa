#pragma once

#include <chrono>

namespace Korvo {

// Seconds spent in the CPU-side phases of drawing the world, summed over frames until a
// profiler (the capture tool's timings) reads and resets them. The clock is read a few
// times per model and light: cheap enough to stay on.
struct FrameProfile {
    double Animation = 0;  // animation and skinning
    double Lights = 0;     // the models in range of each light, the casters whose shadows
                           // reach what the frame shows, and its nearest surface
    double Shadows = 0;    // facing, silhouettes and shadow-volume geometry updates
    double Silhouettes = 0;   // the part of Shadows in facing tests, silhouette and cap lists

    // Adds the time between its construction and destruction to one of the sums.
    class Scope {
    public:
        explicit Scope(double& sum) : Sum(sum), Start(std::chrono::steady_clock::now()) {}
        ~Scope()
        {
            Sum += std::chrono::duration<double>(std::chrono::steady_clock::now() - Start)
                       .count();
        }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        double& Sum;
        std::chrono::steady_clock::time_point Start;
    };
};

inline FrameProfile g_FrameProfile;

} // namespace Korvo
