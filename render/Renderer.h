#pragma once

#include "app/Ptr.h"
#include "app/Timer.h"
#include "render/IRenderer.h"
#include "render/OverlayLines.h"
#include "render/RendererCommon.h"
#include "render/ShadowReach.h"

namespace GL {
class IFont;
class IProgram;
class IRenderDevice;
class TextGeometryCache;
}

namespace Korvo {

class Frame;
class PrimitiveBuffer_Quad;

// The hard-shadow renderer: a depth pre-pass, one ambient pass for all lights, and per
// light a stencil shadow-volume pass followed by an additive lit pass that only touches
// pixels with a stencil count of zero; then the overlay, into an off-screen frame set.
class Renderer : public IRenderer {
public:
    Renderer();
    ~Renderer() override;

    std::string GetTypeName() const override { return "Korvo::Renderer"; }

    void Render(Sys::Ptr<const IViewer> viewer, Sys::Ptr<IModel> world,
                const std::vector<Sys::Ptr<IModel>>& models) override;
    Sys::Ptr<const GL::ITexture> GetColorTexture() const override;

    Sys::Ptr<const Frame> GetFrame() const;

private:
    void DrawDepthPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);
    void DrawAmbientPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);
    void DrawStencilPass(const IPointLightSource& light);
    void DrawColorPass(const IViewer& viewer, const IPointLightSource& light,
                       const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);
    void DrawGUI();
    void EndFrame();

    Sys::Ptr<GL::IRenderDevice> Device;
    Sys::Ptr<Utils::Timer> FrameTimer;
    Sys::Ptr<Frame> FrameSet;
    Sys::Ptr<GL::IProgram> Transform;
    Sys::Ptr<GL::IProgram> ColorTransform;
    Sys::Ptr<GL::IProgram> ShadowVolume;
    Sys::Ptr<GL::IProgram> ShadowCapNear;
    Sys::Ptr<GL::IProgram> ShadowCapFar;
    RendererCommon::LightingPrograms Lighting;
    RendererCommon::VertexFormats Formats;
    RendererCommon::ModelSpaceLights Places;
    ShadowReach Reach;
    Sys::Ptr<PrimitiveBuffer_Quad> Quads;
    Sys::Ptr<GL::IFont> Font;
    Sys::Ptr<GL::TextGeometryCache> OverlayCache;   // the overlay lines' geometry
    OverlayLines Overlay;
    int LightIndex = 0;
};

} // namespace Korvo
