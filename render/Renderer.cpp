#include "render/Renderer.h"

#include "config/CVars.h"
#include "gl/ErrorCheck.h"
#include "gl/IFrameBuffer.h"
#include "gl/IProgram.h"
#include "gl/IRenderDevice.h"
#include "gl/OutlineFont.h"
#include "gl/TextGeometryCache.h"
#include "gl/TextureRectangle.h"
#include "platform/Clock.h"
#include "render/Frame.h"
#include "render/PrimitiveBuffer_Quad.h"
#include "render/RendererCommon.h"

#include <GL/glew.h>

namespace Korvo {

namespace {

const char* const VolumeShader = "Shaders/Shadows/ShadowVolume/ShadowVolume.vsh";
const char* const CapShader = "Shaders/Shadows/ShadowVolume/ShadowCap.vsh";

} // namespace

Renderer::Renderer() : IRenderer(r_Screen_Width.value, r_Screen_Height.value)
{
    Print("\n----- Renderer -----\n");
    Print("\nConfiguring variables.\n");
    RendererCommon::ConfigureDepthVariables();
    // This renderer always counts in the stencil buffer.
    r_Shadow_StencilOp.value = true;
    Device = GL::Device;
    FrameTimer = Sys::Ptr<Utils::Timer>(new Utils::Timer(1, Platform::GetClockMilliseconds));

    Print("\nCreating framebuffers.\n");
    FrameSet = Sys::Ptr<Frame>(new Frame(r_Screen_Width.value, r_Screen_Height.value,
                                         r_Screen_Samples.value));

    Print("\nLoading shaders.\n");
    using namespace RendererCommon;
    Transform = LoadProgram({"Shaders/Common/Transform.vsh", nullptr, "", "", PositionAttributes});
    ColorTransform = LoadProgram({"Shaders/Common/ColorTransform.vsh", nullptr, "", "",
                                  PositionAttributes});
    ShadowVolume = LoadProgram({VolumeShader, nullptr, "", "", ExtrusionAttributes});
    ShadowCapNear = LoadProgram({CapShader, nullptr, "NEAR", "", PositionAttributes});
    ShadowCapFar = LoadProgram({CapShader, nullptr, "FAR", "", PositionAttributes});
    Lighting.Load("");

    Print("\nAllocating various resources.\n");
    Formats.Compile();
    Quads = Sys::Ptr<PrimitiveBuffer_Quad>(new PrimitiveBuffer_Quad());
    Sys::Ptr<GL::OutlineFont> font(new GL::OutlineFont("Arial", 0.0f, 0.0f));
    Font = font;
    OverlayCache = Sys::Ptr<GL::TextGeometryCache>(new GL::TextGeometryCache(font));
    Print("Renderer initialized.\n");
}

Renderer::~Renderer() = default;

Sys::Ptr<const GL::ITexture> Renderer::GetColorTexture() const
{
    return FrameSet->GetColorTexture();
}

Sys::Ptr<const Frame> Renderer::GetFrame() const { return FrameSet; }

void Renderer::Render(Sys::Ptr<const IViewer> viewer, Sys::Ptr<IModel> world,
                      const std::vector<Sys::Ptr<IModel>>& models)
{
    Device->SetFrameBuffer(FrameSet->GetFrameBuffer(0));
    RendererCommon::LoadViewerMatrices(*viewer);
    Places.Update(LightSources, models);
    Reach.Update(LightSources, viewer.Get(), world.Get(), models);

    DrawDepthPass(world.Get(), models);
    DrawAmbientPass(world.Get(), models);
    LightIndex = 0;
    for (const Sys::Ptr<const IPointLightSource>& light : LightSources) {
        if (r_Shadow_Cast.value)
            DrawStencilPass(*light);
        DrawColorPass(*viewer, *light, world.Get(), models);
        ++LightIndex;
    }
    DrawGUI();
    EndFrame();
    EndProfiledFrame();
    FrameRate.AddFrame(FrameTimer->GetDeltaTime());
}

void Renderer::DrawDepthPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawDepthPass");
    RendererCommon::DrawDepth(*Device, Formats, Transform, world, models, true);
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawAmbientPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawAmbientPass");
    RendererCommon::DrawAmbient(*Device, Formats, Lighting, LightSources, Places, world,
                                models);
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawStencilPass(const IPointLightSource& light)
{
    using Plan = ShadowVolumeDrawPlan;
    BeginPass("DrawStencilPass");
    const bool stencilOp = r_Shadow_StencilOp.value;
    const bool separate = r_GL_SeparateStencil.value;
    const bool clamp = r_GL_DepthClamp.value;

    // Every volume face counts in the stencil, nothing else is written; surfaces outside the
    // light's depth range get none of its light and need no count.
    const GL::RasterState count = Reach.DepthBounded(
        light, GL::RasterState().NoColor().NoDepthWrite().StencilFunc(GL_ALWAYS, 0),
        r_GL_DepthBoundsTest.value);
    const GL::RasterState sides = count.Depth(GL_LESS).Clamped(clamp).Culling(GL_BACK);
    // Clearing self-shadowing starts the volumes at the caster's faces turned from the
    // light, counted the other way round, so its lit faces stay outside them: the near caps
    // lie on the laid-down depth.
    const GL::RasterState reversedCaps = count.DepthEqual().Culling(GL_BACK);
    const GL::RasterState reversedZPassCaps =
        reversedCaps.StencilOp(GL_KEEP, GL_KEEP, GL_DECR_WRAP);
    // Depth-fail caps count on every fragment: the test never passes. The far caps, past
    // every lit surface, count the same way, each face by its side like the sides' faces:
    // the fan that closes a volume cut short (ShadowVolume::DrawFarCaps) overlaps itself
    // where the silhouette turns back.
    const GL::RasterState caps = count.Depth(GL_NEVER).Culling(GL_BACK);
    const GL::RasterState farCaps = count.Depth(GL_NEVER).Clamped(clamp);

    // The first light uses the stencil the depth pass cleared.
    Device->SetRasterState(count);
    if (LightIndex > 0) {
        glClearStencil(0);
        glClear(GL_STENCIL_BUFFER_BIT);
    }

    RendererCommon::BindSideQuads(*Device, Formats, *Quads, ShadowVolume);
    const Plan::Steps zPassSides =
        Plan::Plan(Plan::Sides, Plan::DepthPass, stencilOp, separate, sides);
    RendererCommon::DrawSides(Reach.ZPassCasters(light), light, Places, zPassSides,
                              *ShadowVolume);
    // Volumes clear of the near plane end past the lit surfaces, with nothing to close them:
    // no line of sight reaches that far.
    RendererCommon::DrawSides(Reach.ClearCasters(light), light, Places, zPassSides,
                              *ShadowVolume, &Reach, true);
    // The depth-fail volumes end past the lit surfaces, closed there by their far caps, and
    // their sides leave out what lies nearer the eye than every surface.
    RendererCommon::DrawSides(Reach.ZFailCasters(light), light, Places,
                              Plan::Plan(Plan::Sides, Plan::DepthFail, stencilOp, separate,
                                         Reach.NearerCut(sides)),
                              *ShadowVolume, &Reach);
    GL::CheckErrors(*this, CurrentPassName);

    Device->SetProgram(ShadowCapNear);
    Device->SetVertexFormat(Formats.Position);
    if (r_Shadow_ClearSelfShadowing.value) {
        const Plan::Steps zPassCaps = Plan::Plan(Plan::CapsReversed, Plan::DepthPass, stencilOp,
                                                 separate, reversedZPassCaps);
        RendererCommon::DrawCaps(Reach.ZPassCasters(light), false, zPassCaps);
        RendererCommon::DrawCaps(Reach.ClearCasters(light), false, zPassCaps);
        RendererCommon::DrawCaps(Reach.ZFailCasters(light), false,
                                 Plan::Plan(Plan::CapsReversed, Plan::DepthFail, stencilOp,
                                            separate, reversedCaps));
    } else {
        RendererCommon::DrawCaps(Reach.ZFailCasters(light), true,
                                 Plan::Plan(Plan::Caps, Plan::DepthFail, stencilOp, separate,
                                            caps));
    }

    if (!Reach.ZFailCasters(light).empty()) {
        // The far caps are the near caps' triangles moved away from the light: they face
        // the other way from the volume's outside, and count reversed.
        Device->SetProgram(ShadowCapFar);
        RendererCommon::DrawFarCaps(
            Reach.ZFailCasters(light), light, Places,
            Plan::Plan(r_Shadow_ClearSelfShadowing.value ? Plan::Caps : Plan::CapsReversed,
                       Plan::DepthFail, stencilOp, separate, farCaps),
            *ShadowCapFar);
    }

    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawColorPass(const IViewer& viewer, const IPointLightSource& light,
                             const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float worldDiffuse[3] = {0.7f, 0.7f, 0.7f};
    BeginPass("DrawColorPass");
    // Added up over the laid-down depth, outside the shadow where shadows are cast.
    const GL::RasterState added = RendererCommon::EqualDepthBlock().Blending(GL_ONE, GL_ONE);
    const GL::RasterState lit = r_Shadow_Cast.value ? added.StencilFunc(GL_EQUAL, 0) : added;

    Device->SetRasterState(lit);
    RendererCommon::DrawLit(*Device, Formats, Lighting, {worldDiffuse, 32.0f, nullptr}, viewer,
                            light, Places, world, models);
    RendererCommon::DrawLightMarker(*Device, light, ColorTransform);
    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawGUI()
{
    BeginPass("DrawGUI");
    RendererCommon::DrawOverlayPass(*Device, Formats, ColorTransform, Overlay, *OverlayCache,
                                    Width, Height, FrameRate.GetFramesPerSecond(),
                                    FrameSet->GetWidth(), FrameSet->GetHeight(),
                                    FrameSet->UsesFramebufferObjects());
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::EndFrame()
{
    BeginPass("EndFrame");
    if (FrameSet->UsesFramebufferObjects()) {
        if (FrameSet->GetSamples() > 0)
            Device->BlitFrameBuffer(
                Sys::Ptr<const GL::FrameBufferObject>::StaticFrom(FrameSet->GetFrameBuffer(1)),
                Sys::Ptr<const GL::FrameBufferObject>::StaticFrom(FrameSet->GetFrameBuffer(0)),
                GL_COLOR_BUFFER_BIT, GL_NEAREST);
    } else {
        // The P-buffer's picture becomes readable through the colour texture.
        FrameSet->GetFrameBuffer(0)->UpdateTextures();
        if (r_GL_EarlyTricks.value)
            FrameSet->GetFrameBuffer(0)->SwapBuffers();
    }
    GL::CheckErrors(*this, CurrentPassName);
}

} // namespace Korvo
