#include "render/Renderer.h"

#include "config/CVars.h"
#include "gl/ErrorCheck.h"
#include "gl/IFrameBuffer.h"
#include "gl/IProgram.h"
#include "gl/IRenderDevice.h"
#include "gl/OutlineFont.h"
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
    Font = Sys::Ptr<GL::IFont>(new GL::OutlineFont("Arial", 0.0f, 0.0f));
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
    BeginPass("DrawStencilPass");
    const bool separate = r_GL_SeparateStencil.value;
    glColorMask(0, 0, 0, 0);
    glStencilMask(~0u);
    // The first light uses the stencil the depth pass cleared.
    if (LightIndex > 0) {
        glClearStencil(0);
        glClear(GL_STENCIL_BUFFER_BIT);
    }
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 0, ~0u);

    // Side quads.
    RendererCommon::SetDepthClamp(true);
    RendererCommon::BindSideQuads(*Device, Formats, *Quads, ShadowVolume);
    RendererCommon::CullForSeparateStencil(separate);
    if (!Reach.ZPassCasters(light).empty()) {
        glDepthFunc(GL_LESS);
        RendererCommon::SeparateDepthPassOps(separate, GL_INCR_WRAP, GL_DECR_WRAP);
        RendererCommon::DrawSides(Reach.ZPassCasters(light), light, Places, 0, *ShadowVolume);
    }
    if (!Reach.ZFailCasters(light).empty()) {
        glDepthFunc(GL_LESS);
        RendererCommon::SeparateDepthFailOps(separate, GL_INCR_WRAP, GL_DECR_WRAP);
        RendererCommon::DrawSides(Reach.ZFailCasters(light), light, Places, 2, *ShadowVolume);
    }
    RendererCommon::SetDepthClamp(false);
    GL::CheckErrors(*this, CurrentPassName);

    // Near caps. Clearing self-shadowing starts the volumes at the caster's faces turned
    // from the light, counted the other way round, so its lit faces stay outside them.
    Device->SetProgram(ShadowCapNear);
    Device->SetVertexFormat(Formats.Position);
    if (r_Shadow_ClearSelfShadowing.value) {
        glDepthFunc(GL_EQUAL);
        glStencilOp(GL_KEEP, GL_KEEP, GL_DECR_WRAP);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        RendererCommon::DrawCaps(Reach.ZPassCasters(light), false, 0);
        if (!Reach.ZFailCasters(light).empty()) {
            RendererCommon::SeparateDepthFailOps(separate, GL_DECR_WRAP, GL_INCR_WRAP);
            RendererCommon::CullForSeparateStencil(separate);
            RendererCommon::DrawCaps(Reach.ZFailCasters(light), false, 2);
        }
    } else if (!Reach.ZFailCasters(light).empty()) {
        glDepthFunc(GL_NEVER);
        RendererCommon::SeparateDepthFailOps(separate, GL_INCR_WRAP, GL_DECR_WRAP);
        RendererCommon::CullForSeparateStencil(separate);
        RendererCommon::DrawCaps(Reach.ZFailCasters(light), true, 2);
    }

    // Far caps.
    if (!Reach.ZFailCasters(light).empty()) {
        RendererCommon::SetDepthClamp(true);
        Device->SetProgram(ShadowCapFar);
        glDepthFunc(GL_NEVER);
        glStencilOp(GL_KEEP, GL_INCR_WRAP, GL_KEEP);
        glDisable(GL_CULL_FACE);
        RendererCommon::DrawFarCaps(Reach.ZFailCasters(light), light, Places, *ShadowCapFar);
        RendererCommon::SetDepthClamp(false);
    }

    glDisable(GL_STENCIL_TEST);
    glStencilMask(0);
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawColorPass(const IViewer& viewer, const IPointLightSource& light,
                             const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float worldDiffuse[3] = {0.7f, 0.7f, 0.7f};
    BeginPass("DrawColorPass");
    glColorMask(1, 1, 1, 1);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_EQUAL);
    if (r_Shadow_Cast.value) {
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_EQUAL, 0, ~0u);
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glBlendEquation(GL_FUNC_ADD);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);

    RendererCommon::DrawLit(*Device, Formats, Lighting, {worldDiffuse, 32.0f, nullptr}, viewer,
                            light, Places, world, models);
    glDisable(GL_BLEND);
    if (r_Shadow_Cast.value)
        glDisable(GL_STENCIL_TEST);

    RendererCommon::DrawLightMarker(light, ColorTransform);
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawGUI()
{
    BeginPass("DrawGUI");
    RendererCommon::DrawOverlayPass(*Device, Formats, ColorTransform, *Font, Width, Height,
                                    FrameRate.GetFramesPerSecond(), FrameSet->GetWidth(),
                                    FrameSet->GetHeight(), FrameSet->UsesFramebufferObjects());
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
