#include "render/IRenderer.h"

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

} // namespace Korvo
