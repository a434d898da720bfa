#pragma once

#include "world/IWorldRenderer.h"

#include <vector>

namespace Korvo {

class IRenderer;

// Owns the renderer (soft shadows when r_Shadow_PenumbraWedges is set at construction)
// and what the scene shows. A frame: animate the models, let every light pick its models
// in range, hand the lights to the renderer, draw, then put the renderer's picture on the
// window and swap.
class WorldRenderer : public IWorldRenderer {
public:
    WorldRenderer();
    // With a renderer made elsewhere (the capture tool picks its own).
    explicit WorldRenderer(Sys::Ptr<IRenderer> renderer);
    ~WorldRenderer() override;

    void SetWorld(Sys::Ptr<IModel> world) override;
    void AddModel(Sys::Ptr<IModel> model) override;
    void AddLightSource(Sys::Ptr<IPointLightSource> light) override;
    void AddRenderedLightSource(Sys::Ptr<const IPointLightSource> light) override;
    void SetViewer(Sys::Ptr<IViewer> viewer) override;
    void Render(float elapsed) override;

    Sys::Ptr<IRenderer> GetRenderer() const { return Renderer; }
    // What the scene handed over, for tools that look at a frame from outside.
    Sys::Ptr<IModel> GetWorld() const { return World; }
    const std::vector<Sys::Ptr<IModel>>& GetModels() const { return Models; }
    const std::vector<Sys::Ptr<const IPointLightSource>>& GetRenderedLightSources() const
    {
        return RenderedLights;
    }
    Sys::Ptr<IViewer> GetViewer() const { return Viewer; }

private:
    void Present();

    Sys::Ptr<IRenderer> Renderer;
    Sys::Ptr<IModel> World;
    std::vector<Sys::Ptr<IModel>> Models;
    std::vector<Sys::Ptr<IPointLightSource>> PointLights;
    Sys::Ptr<IViewer> Viewer;
    std::vector<Sys::Ptr<const IPointLightSource>> RenderedLights;
};

} // namespace Korvo
