#pragma once

#include "app/Ptr.h"
#include "app/Timer.h"
#include "gl/VertexFormat.h"
#include "render/IRenderer.h"
#include "render/OverlayLines.h"
#include "render/RendererCommon.h"
#include "render/ShadowReach.h"

namespace GL {
class TextureRectangle;
class IFont;
class IProgram;
class IRenderDevice;
class TextGeometryCache;
}

namespace Korvo {

class FrameEx;
class ILookupTexture;
class IPrimitiveBuffer;
class PrimitiveBuffer_Quad;

// The soft-shadow renderer. Per light, the hard count of the shadow volumes goes into a
// target's alpha, penumbra wedges around the silhouettes add a signed coverage term in a
// float target, and the two are combined into a screen-space shadow value that scales
// the additive lit pass.
class RendererEx : public IRenderer {
public:
    RendererEx();
    ~RendererEx() override;

    std::string GetTypeName() const override { return "Korvo::RendererEx"; }

    void Render(Sys::Ptr<const IViewer> viewer, Sys::Ptr<IModel> world,
                const std::vector<Sys::Ptr<IModel>>& models) override;
    Sys::Ptr<const GL::ITexture> GetColorTexture() const override;

    Sys::Ptr<const FrameEx> GetFrame() const;

    // Keeps a copy of one light's shadow value (alpha, shadow size) from every frame, for
    // inspection; -1 keeps none.
    void KeepShadowTexture(int lightIndex);
    Sys::Ptr<const GL::TextureRectangle> GetKeptShadowTexture() const { return KeptShadow; }

private:
    // Binds target i and sets the viewport to its size.
    void BindTarget(int index);
    void DrawDepthPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);
    void DrawCoordinatePass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);
    void DrawAmbientPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);
    void DrawAlphaStencilPass(const IPointLightSource& light);
    void DrawCoveragePass(const IPointLightSource& light);
    void CombineShadow(const IPointLightSource& light);
    void FillNoShadow();
    void KeepShadow();
    void DrawColorPass(const IViewer& viewer, const IPointLightSource& light,
                       const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);
    void DrawGUI();

    Sys::Ptr<GL::IRenderDevice> Device;
    Sys::Ptr<Utils::Timer> FrameTimer;
    Sys::Ptr<FrameEx> FrameSet;
    Sys::Ptr<GL::IProgram> Transform;
    Sys::Ptr<GL::IProgram> ColorTransform;
    Sys::Ptr<GL::IProgram> Coordinate;
    Sys::Ptr<GL::IProgram> ShadowVolume[2];
    Sys::Ptr<GL::IProgram> ShadowCapNear[2];
    Sys::Ptr<GL::IProgram> ShadowCapFar[2];
    Sys::Ptr<GL::IProgram> WedgeConstruct;
    Sys::Ptr<GL::IProgram> WedgeCoverage;
    Sys::Ptr<GL::IProgram> Combine;
    RendererCommon::LightingPrograms Lighting;
    RendererCommon::VertexFormats Formats;
    RendererCommon::ModelSpaceLights Places;
    ShadowReach Reach;
    GL::VertexFormat WedgeFormat;   // both edge ends and the corner data
    Sys::Ptr<PrimitiveBuffer_Quad> Quads;
    Sys::Ptr<IPrimitiveBuffer> Wedges;
    Sys::Ptr<ILookupTexture> Angles;
    Sys::Ptr<GL::IFont> Font;
    Sys::Ptr<GL::TextGeometryCache> OverlayCache;   // the overlay lines' geometry
    OverlayLines Overlay;
    int LightIndex = 0;
    int KeptLight = -1;
    Sys::Ptr<GL::TextureRectangle> KeptShadow;
};

} // namespace Korvo
