#include "render/IRenderer.h"

#include "config/CVars.h"
#include "gl/ErrorCheck.h"
#include "render/PassProfiler.h"

namespace Korvo {

void IRenderer::SetLightSources(std::vector<Sys::Ptr<const IPointLightSource>> lights)
{
    if (static_cast<int>(lights.size()) > MaxLightSources) {
        if (!TooManyLightsReported) {
            Message(Warning, "%d light sources given, only the first %d are drawn.\n",
                    static_cast<int>(lights.size()), MaxLightSources);
            TooManyLightsReported = true;
        }
        lights.resize(MaxLightSources);
    }
    LightSources = lights;
}

void IRenderer::BeginPass(const char* name)
{
    if (Profiler != nullptr)
        Profiler->Begin(name);
    if (!r_GL_CatchErrors.value)
        return;
    GL::DrainErrors();
    CurrentPassName = name;
}

void IRenderer::EndProfiledFrame()
{
    if (Profiler != nullptr)
        Profiler->EndFrame();
}

} // namespace Korvo
