#include "render/Renderer.h"

#include "config/CVars.h"
#include "gl/ErrorCheck.h"
#include "gl/ExtensionRegistry.h"
#include "gl/IFrameBuffer.h"
#include "gl/IProgram.h"
#include "gl/IRenderDevice.h"
#include "gl/OutlineFont.h"
#include "gl/TextureRectangle.h"
#include "platform/Clock.h"
#include "render/Frame.h"
#include "render/PrimitiveBuffer_Quad.h"
#include "render/RendererCommon.h"
#include "world/IViewer.h"
#include "world/ShadowDrawing.h"

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
    if (!GL::Extensions->GL_NV_depth_clamp)
        r_GL_DepthClamp.value = false;
    if (!GL::Extensions->GL_EXT_depth_bounds_test)
        r_GL_DepthBoundsTest.value = false;
    // This renderer always counts in the stencil buffer.
    r_Shadow_StencilOp.value = true;
    Device = GL::Device;
    FrameTimer = Sys::Ptr<Utils::Timer>(new Utils::Timer(1, Platform::GetClockMilliseconds));

    Print("\nCreating framebuffers.\n");
    FrameSet = Sys::Ptr<Frame>(new Frame(r_Screen_Width.value, r_Screen_Height.value,
                                         r_Screen_Samples.value));

    Print("\nLoading shaders.\n");
    using RendererCommon::LoadProgram;
    const std::vector<std::pair<const char*, int>> position = {{"in_Vertex", 0}};
    const std::vector<std::pair<const char*, int>> normal = {{"in_Vertex", 0}, {"in_Normal", 1}};
    const std::vector<std::pair<const char*, int>> extrusion = {{"in_Vertex", 0},
                                                                {"in_WCoord", 1}};
    Transform = LoadProgram({"Shaders/Common/Transform.vsh", nullptr, "", "", position});
    ColorTransform = LoadProgram({"Shaders/Common/ColorTransform.vsh", nullptr, "", "", position});
    ShadowVolume = LoadProgram({VolumeShader, nullptr, "", "", extrusion});
    ShadowCapNear = LoadProgram({CapShader, nullptr, "NEAR", "", position});
    ShadowCapFar = LoadProgram({CapShader, nullptr, "FAR", "", position});
    for (int i = 0; i < 6; ++i) {
        const std::string define = "MAX_LIGHTS " + std::to_string(i + 1);
        Ambient[i] = LoadProgram({"Shaders/LightingModels/Ambient.vsh",
                                  "Shaders/LightingModels/Ambient.fsh", define, define, normal});
    }
    Lambert = LoadProgram({"Shaders/LightingModels/Lambert.vsh",
                           "Shaders/LightingModels/Lambert.fsh", "", "", normal});
    Phong = LoadProgram({"Shaders/LightingModels/Phong.vsh", "Shaders/LightingModels/Phong.fsh",
                         "", "", normal});

    Print("\nAllocating various resources.\n");
    PositionFormat.AddAttribute(0, 3, GL_FLOAT);
    PositionFormat.Compile();
    PositionNormalFormat.AddAttribute(0, 3, GL_FLOAT);
    PositionNormalFormat.AddAttribute(1, 3, GL_FLOAT);
    PositionNormalFormat.Compile();
    PositionExtrusionFormat.AddAttribute(0, 3, GL_FLOAT);
    PositionExtrusionFormat.AddAttribute(1, 3, GL_FLOAT);
    PositionExtrusionFormat.Compile();
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

void Renderer::BeginPass(const char* name)
{
    if (!r_GL_CatchErrors.value)
        return;
    GL::DrainErrors();
    CurrentPassName = name;
}

void Renderer::Render(Sys::Ptr<const IViewer> viewer, Sys::Ptr<IModel> world,
                      const std::vector<Sys::Ptr<IModel>>& models)
{
    Device->SetFrameBuffer(FrameSet->GetFrameBuffer(0));
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(viewer->GetProjectionMatrix().Data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(viewer->GetViewMatrix().Data());

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
    FrameRate.AddFrame(FrameTimer->GetDeltaTime());
}

void Renderer::DrawDepthPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawDepthPass");
    glColorMask(0, 0, 0, 0);
    glDepthMask(1);
    glStencilMask(~0u);
    glClearStencil(0);
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glStencilMask(0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    Device->SetVertexFormat(PositionFormat);
    Device->SetProgram(Transform);
    for (const Sys::Ptr<IModel>& model : models)
        model->DrawModel();
    if (world != nullptr)
        world->DrawModel();
    // No later pass of the frame writes depth.
    glDepthMask(0);
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawAmbientPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawAmbientPass");
    glColorMask(1, 1, 1, 1);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_EQUAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    Device->SetVertexFormat(PositionNormalFormat);
    // The variant one above the light count: lights beyond it were cut by SetLightSources.
    const Sys::Ptr<GL::IProgram>& program = Ambient[LightSources.size()];
    Device->SetProgram(program);
    RendererCommon::DrawAmbientLights(*program, LightSources, world, models);
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
    if (r_GL_DepthClamp.value)
        glEnable(GL_DEPTH_CLAMP_NV);
    Device->SetVertexFormat(PositionExtrusionFormat);
    Device->SetVertexAttributes(Quads->GetVertexBuffer());
    Device->SetIndexBuffer(Quads->GetIndexBuffer());
    Device->SetProgram(ShadowVolume);
    if (separate)
        glDisable(GL_CULL_FACE);
    else
        glEnable(GL_CULL_FACE);
    if (!light.ZPassCasters.empty()) {
        glDepthFunc(GL_LESS);
        if (separate) {
            glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_KEEP, GL_INCR_WRAP);
            glStencilOpSeparate(GL_BACK, GL_KEEP, GL_KEEP, GL_DECR_WRAP);
        }
        for (const Sys::Ptr<IModel>& caster : light.ZPassCasters)
            if (caster->ShadowCaster)
                DrawShadowVolumeSides(*caster, light.Position, 0, *ShadowVolume);
    }
    if (!light.ZFailCasters.empty()) {
        glDepthFunc(GL_LESS);
        if (separate) {
            glStencilOpSeparate(GL_BACK, GL_KEEP, GL_INCR_WRAP, GL_KEEP);
            glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_DECR_WRAP, GL_KEEP);
        }
        for (const Sys::Ptr<IModel>& caster : light.ZFailCasters)
            if (caster->ShadowCaster)
                DrawShadowVolumeSides(*caster, light.Position, 2, *ShadowVolume);
    }
    if (r_GL_DepthClamp.value)
        glDisable(GL_DEPTH_CLAMP_NV);
    GL::CheckErrors(*this, CurrentPassName);

    // Near caps. Clearing self-shadowing starts the volumes at the caster's faces turned
    // from the light, counted the other way round, so its lit faces stay outside them.
    Device->SetProgram(ShadowCapNear);
    Device->SetVertexFormat(PositionFormat);
    if (r_Shadow_ClearSelfShadowing.value) {
        glDepthFunc(GL_EQUAL);
        glStencilOp(GL_KEEP, GL_KEEP, GL_DECR_WRAP);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        for (const Sys::Ptr<IModel>& caster : light.ZPassCasters)
            if (caster->ShadowCaster)
                DrawShadowVolumeCaps(*caster, false, 0);
        if (!light.ZFailCasters.empty()) {
            if (separate) {
                glStencilOpSeparate(GL_BACK, GL_KEEP, GL_DECR_WRAP, GL_KEEP);
                glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_INCR_WRAP, GL_KEEP);
                glDisable(GL_CULL_FACE);
            } else {
                glEnable(GL_CULL_FACE);
            }
            for (const Sys::Ptr<IModel>& caster : light.ZFailCasters)
                if (caster->ShadowCaster)
                    DrawShadowVolumeCaps(*caster, false, 2);
        }
    } else if (!light.ZFailCasters.empty()) {
        glDepthFunc(GL_NEVER);
        if (separate) {
            glStencilOpSeparate(GL_BACK, GL_KEEP, GL_INCR_WRAP, GL_KEEP);
            glStencilOpSeparate(GL_FRONT, GL_KEEP, GL_DECR_WRAP, GL_KEEP);
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
        }
        for (const Sys::Ptr<IModel>& caster : light.ZFailCasters)
            if (caster->ShadowCaster)
                DrawShadowVolumeCaps(*caster, true, 2);
    }

    // Far caps.
    if (!light.ZFailCasters.empty()) {
        if (r_GL_DepthClamp.value)
            glEnable(GL_DEPTH_CLAMP_NV);
        Device->SetProgram(ShadowCapFar);
        glDepthFunc(GL_NEVER);
        glStencilOp(GL_KEEP, GL_INCR_WRAP, GL_KEEP);
        glDisable(GL_CULL_FACE);
        for (const Sys::Ptr<IModel>& caster : light.ZFailCasters)
            if (caster->ShadowCaster)
                DrawShadowVolumeFarCaps(*caster, light.Position, *ShadowCapFar);
        if (r_GL_DepthClamp.value)
            glDisable(GL_DEPTH_CLAMP_NV);
    }

    glDisable(GL_STENCIL_TEST);
    glStencilMask(0);
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawColorPass(const IViewer& viewer, const IPointLightSource& light,
                             const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float worldDiffuse[3] = {0.7f, 0.7f, 0.7f};
    static const float modelDiffuse[3] = {0.8f, 0.8f, 0.8f};
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

    Device->SetVertexFormat(PositionNormalFormat);
    if (world != nullptr) {
        Device->SetProgram(Phong);
        Phong->SetUniform3f("u_LightSource.Position", light.Position.Data());
        Phong->SetUniform1f("u_LightSource.Radius", light.Radius);
        Phong->SetUniform3f("u_LightSource.DiffuseColor", light.DiffuseColor.Data());
        Phong->SetUniform3f("u_LightSource.SpecularColor", light.SpecularColor.Data());
        Phong->SetUniform3f("u_Material.DiffuseColor", worldDiffuse);
        Phong->SetUniform1f("u_Material.SpecularPow", 32.0f);
        Phong->SetUniform3f("u_ViewPosition", viewer.GetPosition().Data());
        world->DrawModel();
    }
    Device->SetProgram(Lambert);
    Lambert->SetUniform1f("u_LightSource.Radius", light.Radius);
    Lambert->SetUniform3f("u_LightSource.DiffuseColor", light.DiffuseColor.Data());
    Lambert->SetUniform3f("u_Material.DiffuseColor", modelDiffuse);
    for (const Sys::Ptr<IModel>& model : models) {
        const Math::Vec3f position = model->ToModelSpace(light.Position);
        Lambert->SetUniform3f("u_LightSource.Position", position.Data());
        model->DrawModel();
    }
    glDisable(GL_BLEND);
    if (r_Shadow_Cast.value)
        glDisable(GL_STENCIL_TEST);

    RendererCommon::DrawLightMarker(light, ColorTransform);
    GL::CheckErrors(*this, CurrentPassName);
}

void Renderer::DrawGUI()
{
    BeginPass("DrawGUI");
    Device->SetProgram(ColorTransform);
    Device->SetVertexFormat(PositionFormat);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POLYGON_SMOOTH);
    RendererCommon::DrawOverlay(*Font, Width, Height, FrameRate.GetFramesPerSecond(),
                                FrameSet->GetWidth(), FrameSet->GetHeight(),
                                FrameSet->UsesFramebufferObjects());
    glDisable(GL_POLYGON_SMOOTH);
    glDisable(GL_BLEND);
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
