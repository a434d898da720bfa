#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"
#include "render/FrameRateCounter.h"
#include "world/IModel.h"
#include "world/IPointLightSource.h"

#include <vector>

namespace GL {
class ITexture;
}

namespace Korvo {

class IViewer;
class PassProfiler;

// What both renderers share: the window size, the light list, the frame-rate counter and
// the name of the pass being drawn (for the error message of the per-pass check).
class IRenderer : public IObject {
public:
    // The ambient program table has variants for one to six lights and the pass uses the
    // variant one above the light count, so at most this many lights are drawn.
    static constexpr int MaxLightSources = 5;

    IRenderer(int width, int height) : Width(width), Height(height) {}
    ~IRenderer() override = default;

    // Takes the frame's lights. Beyond MaxLightSources only the first ones are kept, and
    // the log gets one warning for the renderer's lifetime.
    virtual void SetLightSources(std::vector<Sys::Ptr<const IPointLightSource>> lights);
    // Draws one frame: world is the static level model, models the movable ones.
    virtual void Render(Sys::Ptr<const IViewer> viewer, Sys::Ptr<IModel> world,
                        const std::vector<Sys::Ptr<IModel>>& models) = 0;
    // The finished picture after Render.
    virtual Sys::Ptr<const GL::ITexture> GetColorTexture() const = 0;

    const std::vector<Sys::Ptr<const IPointLightSource>>& GetLightSources() const
    {
        return LightSources;
    }
    int GetFramesPerSecond() const { return FrameRate.GetFramesPerSecond(); }
    // Profiles every pass from the next frame on (nullptr: none); the caller keeps it.
    void SetPassProfiler(PassProfiler* profiler) { Profiler = profiler; }

protected:
    // Starts a pass: with r_GL_CatchErrors on, clears pending GL errors and names the pass
    // for the check that closes it; with a profiler, starts measuring it.
    void BeginPass(const char* name);
    // Closes the frame's last pass for the profiler.
    void EndProfiledFrame();

    int Width;
    int Height;
    FrameRateCounter FrameRate;
    const char* CurrentPassName = "";
    std::vector<Sys::Ptr<const IPointLightSource>> LightSources;

private:
    PassProfiler* Profiler = nullptr;
    bool TooManyLightsReported = false;
};

} // namespace Korvo
