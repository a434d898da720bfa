#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Korvo {

// What each pass of a renderer costs: its time (glFinish on both sides of the pass, and also
// the driver's timer query where it has one), the primitives it submitted and the fragment
// shader invocations it ran (pipeline-statistics queries, where the driver has them) and
// the samples that passed its tests. Passes are named as the renderers name them, and the
// figures of a name add up over the frame (one per light for the light passes) and over
// frames. A renderer without a profiler pays nothing for it.
class PassProfiler {
public:
    struct Pass {
        std::string Name;
        int Runs = 0;
        double Milliseconds = 0.0;        // between glFinish calls
        double TimerMilliseconds = 0.0;   // by the timer query
        uint64_t Primitives = 0;
        uint64_t FragmentInvocations = 0;
        uint64_t SamplesPassed = 0;
    };

    // queries: whether the whole frame is drawn in one GL context (query objects belong to
    // one context; P-buffers switch between several, and there only the time is taken).
    explicit PassProfiler(bool queries);
    ~PassProfiler();
    PassProfiler(const PassProfiler&) = delete;
    PassProfiler& operator=(const PassProfiler&) = delete;

    // The named passes are run with rasterizing off (GL_RASTERIZER_DISCARD, where the
    // driver has it): their draws, vertices and state changes cost what they cost, and
    // nothing reaches a pixel, not even their clears. Measures what a pass costs besides
    // its fragments; the picture is wrong meanwhile.
    void DiscardRasterOf(std::vector<std::string> names);

    // Ends the pass running, if any, and starts the named one.
    void Begin(const char* name);
    // Ends the pass running; the frame's figures are then in GetPasses.
    void EndFrame();

    const std::vector<Pass>& GetPasses() const { return Passes; }
    bool TimesOnGpu() const { return Timer; }
    bool CountsShaders() const { return Statistics; }

    // A Markdown table of the passes in the order first seen, per frame over `frames`.
    std::string Table(int frames) const;

private:
    void End();

    bool Timer = false;
    bool Statistics = false;
    bool Samples = false;
    unsigned Queries[4] = {0, 0, 0, 0};
    int Running = -1;
    bool Discarding = false;
    double StartSeconds = 0.0;
    std::vector<std::string> Discarded;
    std::vector<Pass> Passes;
};

} // namespace Korvo
