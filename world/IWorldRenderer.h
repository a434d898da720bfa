#pragma once

#include "app/IObject.h"
#include "app/Ptr.h"
#include "world/IModel.h"
#include "world/IPointLightSource.h"

namespace Korvo {

class IViewer;

// What a scene talks to: it hands over the world, the models, the lights and the viewer
// once, then asks for one frame at a time.
class IWorldRenderer : public Sys::NonCopyable {
public:
    ~IWorldRenderer() override = default;

    // Reserved; they take their argument and do nothing.
    virtual void Reserved0(void*) {}
    virtual void Reserved1(void*) {}
    // The static level model; it never casts shadows.
    virtual void SetWorld(Sys::Ptr<IModel> world) = 0;
    // A model updated every frame and offered to the lights as a caster.
    virtual void AddModel(Sys::Ptr<IModel> model) = 0;
    // A light that picks its models in range every frame.
    virtual void AddLightSource(Sys::Ptr<IPointLightSource> light) = 0;
    // A light handed to the renderer.
    virtual void AddRenderedLightSource(Sys::Ptr<const IPointLightSource> light) = 0;
    virtual void SetViewer(Sys::Ptr<IViewer> viewer) = 0;
    // Reserved; they take their argument and do nothing.
    virtual void Reserved2(int) {}
    virtual void Reserved3(int) {}
    // Draws one frame and shows it; nothing at all while there is no point light.
    virtual void Render(float elapsed) = 0;
};

} // namespace Korvo
