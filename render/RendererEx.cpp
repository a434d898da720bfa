#include "render/RendererEx.h"

#include "app/Exception.h"
#include "config/CVars.h"
#include "gl/ErrorCheck.h"
#include "gl/ExtensionRegistry.h"
#include "gl/IFrameBuffer.h"
#include "gl/IProgram.h"
#include "gl/IRenderDevice.h"
#include "gl/OutlineFont.h"
#include "gl/PixelBuffer.h"
#include "gl/TextureRectangle.h"
#include "platform/Clock.h"
#include "render/FrameEx.h"
#include "render/FrameTargets.h"
#include "render/LookupTexture_Atan2.h"
#include "render/PrimitiveBuffer_Quad.h"
#include "render/PrimitiveBuffer_WedgeS.h"
#include "render/RendererCommon.h"
#include "world/IViewer.h"
#include "world/RenderGL2.h"
#include "world/ShadowDrawing.h"

#include <GL/glew.h>

namespace Korvo {

namespace {

// Targets of the frame set (see FrameEx).
enum Target {
    DepthFull = 0,
    DepthShadow = 1,
    Coverage = 2,
    Coordinates = 3,
    HardCount = 4,
    ShadowValue = 5,
    Picture = 6
};

const char* const VolumeShader = "Shaders/Shadows/ShadowVolume/ShadowVolume.vsh";
const char* const CapShader = "Shaders/Shadows/ShadowVolume/ShadowCap.vsh";
const char* const WedgeShader = "Shaders/Shadows/Wedge/Spherical/Construct.vsh";

} // namespace

RendererEx::RendererEx() : IRenderer(r_Screen_Width.value, r_Screen_Height.value)
{
    Print("\n----- Renderer -----\n");
    Print("\nConfiguring variables.\n");
    if (!GL::Extensions->GL_ARB_texture_rectangle)
        throw Sys::Exception("Extension GL_ARB_texture_rectangle unsupported.\nTry to install "
                             "latest video drivers for your graphics card.");
    RendererCommon::ConfigureDepthVariables();
    // The R400 to R600 generations count the shadow volumes in the alpha channel.
    if (DeviceType >= DEVICE_R400 && DeviceType <= DEVICE_R600)
        r_Shadow_StencilOp.value = false;
    Device = GL::Device;
    FrameTimer = Sys::Ptr<Utils::Timer>(new Utils::Timer(1, Platform::GetClockMilliseconds));

    Print("\nCreating framebuffers.\n");
    FrameSet = Sys::Ptr<FrameEx>(new FrameEx(r_Screen_Width.value, r_Screen_Height.value,
                                             r_Screen_Samples.value));

    Print("\nLoading shaders.\n");
    using namespace RendererCommon;
    const AttributeList& position = PositionAttributes;
    const AttributeList& extrusion = ExtrusionAttributes;
    const AttributeList wedge = {{"in_Edge0", 0}, {"in_Edge1", 1}, {"in_VertexData", 2}};
    Transform = LoadProgram({"Shaders/Common/Transform.vsh", nullptr, "", "", position});
    ColorTransform = LoadProgram({"Shaders/Common/ColorTransform.vsh", nullptr, "", "", position});
    // 32-bit float targets carry each pixel's triangle normal from the coordinate pass to
    // the combine pass; 16-bit ones (P-buffers) cannot hold it exactly.
    const char* const normal = FrameSet->UsesFramebufferObjects() ? "NORMAL_IN_ALPHA" : "";
    Coordinate = LoadProgram({"Shaders/Shadows/Framebuffer/Coordinate.vsh",
                              "Shaders/Shadows/Framebuffer/Coordinate.fsh", "", normal, position});
    ShadowVolume[0] = LoadProgram({VolumeShader, nullptr, "", "", extrusion});
    ShadowVolume[1] = LoadProgram({VolumeShader, nullptr, "ALPHA", "", extrusion});
    ShadowCapNear[0] = LoadProgram({CapShader, nullptr, "NEAR", "", position});
    ShadowCapNear[1] = LoadProgram({CapShader, nullptr, "NEAR\n#define ALPHA", "", position});
    ShadowCapFar[0] = LoadProgram({CapShader, nullptr, "FAR", "", position});
    ShadowCapFar[1] = LoadProgram({CapShader, nullptr, "FAR\n#define ALPHA", "", position});
    WedgeConstruct = LoadProgram({WedgeShader, nullptr, "", "", wedge});
    WedgeCoverage = LoadProgram({WedgeShader, "Shaders/Shadows/Wedge/Spherical/Coverage.fsh",
                                 "FRAG", "FRAG", wedge});
    Combine = LoadProgram({"Shaders/Common/Transform.vsh",
                           "Shaders/Shadows/Framebuffer/Combine.fsh", "", normal, position});
    Lighting.Load("SHADOW");

    Print("\nAllocating various resources.\n");
    Formats.Compile();
    WedgeFormat.AddAttribute(0, 3, GL_FLOAT);
    WedgeFormat.AddAttribute(1, 3, GL_FLOAT);
    WedgeFormat.AddAttribute(2, 2, GL_SHORT);
    WedgeFormat.Compile();
    Quads = Sys::Ptr<PrimitiveBuffer_Quad>(new PrimitiveBuffer_Quad());
    Wedges = Sys::Ptr<IPrimitiveBuffer>(new PrimitiveBuffer_WedgeS());
    Angles = Sys::Ptr<ILookupTexture>(new LookupTexture_Atan2());
    Font = Sys::Ptr<GL::IFont>(new GL::OutlineFont("Arial", 0.0f, 0.0f));
    Print("Renderer initialized.\n");
}

RendererEx::~RendererEx() = default;

Sys::Ptr<const GL::ITexture> RendererEx::GetColorTexture() const
{
    return FrameSet->GetTexture(Picture);
}

Sys::Ptr<const FrameEx> RendererEx::GetFrame() const { return FrameSet; }

void RendererEx::KeepShadowTexture(int lightIndex)
{
    KeptLight = lightIndex;
    if (lightIndex >= 0 && !KeptShadow)
        KeptShadow = MakeTargetTexture(GL_RGBA8, FrameSet->GetShadowWidth(),
                                       FrameSet->GetShadowHeight());
}

void RendererEx::KeepShadow()
{
    if (LightIndex != KeptLight)
        return;
    // The shadow target is bound: copy what it holds now.
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, KeptShadow->GetHandle());
    glCopyTexSubImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, 0, 0, 0, 0, FrameSet->GetShadowWidth(),
                        FrameSet->GetShadowHeight());
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
}

void RendererEx::BindTarget(int index)
{
    Device->SetFrameBuffer(FrameSet->GetFrameBuffer(index));
    const bool full = index == DepthFull || index == Picture;
    glViewport(0, 0, full ? Width : FrameSet->GetShadowWidth(),
               full ? Height : FrameSet->GetShadowHeight());
}

void RendererEx::Render(Sys::Ptr<const IViewer> viewer, Sys::Ptr<IModel> world,
                        const std::vector<Sys::Ptr<IModel>>& models)
{
    // All framebuffer objects live in the window's context, so one load serves them; each
    // P-buffer has matrix stacks of its own.
    if (FrameSet->UsesFramebufferObjects()) {
        BindTarget(DepthFull);
        RendererCommon::LoadViewerMatrices(*viewer);
        if (r_GL_EarlyTricks.value) {
            BindTarget(Coverage);
            RendererCommon::LoadViewerMatrices(*viewer);
        }
    } else {
        for (int target : {Coverage, Coordinates, HardCount, Picture}) {
            BindTarget(target);
            RendererCommon::LoadViewerMatrices(*viewer);
        }
    }

    Places.Update(LightSources, models);
    Reach.Update(LightSources, viewer.Get(), world.Get(), models);
    DrawDepthPass(world.Get(), models);
    DrawCoordinatePass(world.Get(), models);
    DrawAmbientPass(world.Get(), models);
    LightIndex = 0;
    for (const Sys::Ptr<const IPointLightSource>& light : LightSources) {
        if (r_Shadow_Cast.value) {
            DrawAlphaStencilPass(*light);
            DrawCoveragePass(*light);
            CombineShadow(*light);
        } else {
            FillNoShadow();
        }
        KeepShadow();
        DrawColorPass(*viewer, *light, world.Get(), models);
        ++LightIndex;
    }
    DrawGUI();
    // The P-buffer's picture becomes readable as the colour texture.
    FrameSet->GetFrameBuffer(Picture)->UpdateTextures();
    EndProfiledFrame();
    FrameRate.AddFrame(FrameTimer->GetDeltaTime());
}

void RendererEx::DrawDepthPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawDepthPass");
    if (FrameSet->UsesFramebufferObjects()) {
        BindTarget(DepthFull);
        RendererCommon::DrawDepth(*Device, Formats, Transform, world, models, true);
        if (r_Shadow_Downsample.value) {
            BindTarget(DepthShadow);
            RendererCommon::DrawDepth(*Device, Formats, Transform, world, models, true);
        }
        if (r_GL_EarlyTricks.value) {
            BindTarget(Coverage);
            RendererCommon::DrawDepth(*Device, Formats, Transform, world, models, true);
        }
    } else {
        for (int target : {Coverage, Coordinates, HardCount}) {
            BindTarget(target);
            RendererCommon::DrawDepth(*Device, Formats, Transform, world, models, true);
        }
        BindTarget(Picture);
        RendererCommon::DrawDepth(*Device, Formats, Transform, world, models, false);
    }
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawCoordinatePass(const IModel* world,
                                    const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawCoordinatePass");
    BindTarget(Coordinates);
    RendererCommon::BeginEqualDepthPass(true);   // alpha: the triangle's normal
    Device->SetVertexFormat(Formats.Position);
    Device->SetProgram(Coordinate);
    for (const Sys::Ptr<IModel>& model : models) {
        Coordinate->SetUniformMatrix4("u_ModelMatrix", model->GetModelMatrix().Data());
        model->DrawModel();
    }
    if (world != nullptr) {
        Coordinate->SetUniformMatrix4("u_ModelMatrix", Math::Mat4::Identity().Data());
        world->DrawModel();
    }
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawAmbientPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawAmbientPass");
    BindTarget(Picture);
    RendererCommon::DrawAmbient(*Device, Formats, Lighting, LightSources, Places, world,
                                models);
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawAlphaStencilPass(const IPointLightSource& light)
{
    BeginPass("DrawAlphaStencilPass");
    BindTarget(HardCount);
    const bool stencil = r_Shadow_StencilOp.value;
    const bool separate = stencil && r_GL_SeparateStencil.value;
    const int variant = stencil ? 0 : 1;

    // Counting starts from the middle value 128 so that both signs fit in eight bits.
    if (stencil) {
        glColorMask(0, 0, 0, 0);
        glStencilMask(~0u);
        glClearStencil(128);
        glClear(GL_STENCIL_BUFFER_BIT);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 0, ~0u);
    } else {
        glColorMask(0, 0, 0, 1);
        glStencilMask(0);
        glClearColor(0, 0, 0, 128.0f / 255.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        glColor4f(0.0f, 0.0f, 0.0f, 1.0f / 255.0f);
    }
    glEnable(GL_DEPTH_TEST);
    RendererCommon::CullForSeparateStencil(separate);

    // Side quads.
    RendererCommon::SetDepthClamp(true);
    RendererCommon::BindSideQuads(*Device, Formats, *Quads, ShadowVolume[variant]);
    if (!Reach.ZPassCasters(light).empty()) {
        glDepthFunc(GL_LESS);
        RendererCommon::SeparateDepthPassOps(separate, GL_DECR, GL_INCR);
        RendererCommon::DrawSides(Reach.ZPassCasters(light), light, Places, 1,
                                  *ShadowVolume[variant]);
    }
    if (!Reach.ZFailCasters(light).empty()) {
        glDepthFunc(stencil ? GL_LESS : GL_GREATER);
        RendererCommon::SeparateDepthFailOps(separate, GL_DECR, GL_INCR);
        RendererCommon::DrawSides(Reach.ZFailCasters(light), light, Places, 3,
                                  *ShadowVolume[variant]);
    }
    RendererCommon::SetDepthClamp(false);

    // Near caps. Clearing self-shadowing starts the volumes at the caster's faces turned
    // from the light, counted the other way round, so its lit faces stay outside them.
    Device->SetVertexFormat(Formats.Position);
    Device->SetProgram(ShadowCapNear[variant]);
    RendererCommon::CullForSeparateStencil(separate);
    if (r_Shadow_ClearSelfShadowing.value) {
        glDepthFunc(GL_EQUAL);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        if (stencil)
            glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
        else
            glBlendEquation(GL_FUNC_ADD);
        RendererCommon::DrawCaps(Reach.ZPassCasters(light), false, 1);
        if (separate)
            glDisable(GL_CULL_FACE);
        glDepthFunc(stencil ? GL_EQUAL : GL_GREATER);
        RendererCommon::SeparateDepthFailOps(separate, GL_INCR, GL_DECR);
    } else {
        glDepthFunc(stencil ? GL_NEVER : GL_ALWAYS);
        RendererCommon::SeparateDepthFailOps(separate, GL_DECR, GL_INCR);
    }
    RendererCommon::DrawCaps(Reach.ZFailCasters(light), !r_Shadow_ClearSelfShadowing.value, 3);

    // Far caps.
    if (!Reach.ZFailCasters(light).empty()) {
        RendererCommon::SetDepthClamp(true);
        Device->SetProgram(ShadowCapFar[variant]);
        if (stencil) {
            glDepthFunc(GL_LESS);
            glStencilOp(GL_KEEP, GL_DECR, GL_KEEP);
        } else {
            glDepthFunc(GL_GREATER);
            glBlendEquation(GL_FUNC_REVERSE_SUBTRACT);
        }
        glEnable(GL_CULL_FACE);
        glCullFace(r_Shadow_ClearSelfShadowing.value ? GL_FRONT : GL_BACK);
        RendererCommon::DrawFarCaps(Reach.ZFailCasters(light), light, Places,
                                    *ShadowCapFar[variant]);
        RendererCommon::SetDepthClamp(false);
        glCullFace(GL_BACK);
    }

    if (stencil) {
        // Move the count into the alpha channel of the target's texture.
        glColorMask(0, 0, 0, 1);
        glStencilMask(0);
        glDepthMask(0);
        glDisable(GL_STENCIL_TEST);
        glDisable(GL_DEPTH_TEST);
        const int width = FrameSet->GetShadowWidth();
        const int height = FrameSet->GetShadowHeight();
        if (GL::Extensions->GL_NV_copy_depth_to_color) {
            Device->CopyPixels(0, 0, width, height, GL_DEPTH_STENCIL_TO_RGBA_NV);
        } else if (FrameSet->GetPixelBuffer()) {
            // Read the stencil into the pixel buffer, draw it back as alpha.
            const GLuint buffer = FrameSet->GetPixelBuffer()->GetHandle();
            glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
            glReadPixels(0, 0, width, height, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE, nullptr);
            glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
            glBindBuffer(GL_PIXEL_UNPACK_BUFFER, buffer);
            glWindowPos2i(0, 0);
            glDrawPixels(width, height, GL_ALPHA, GL_UNSIGNED_BYTE, nullptr);
            glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
        }
        glEnable(GL_DEPTH_TEST);
    } else {
        glBlendEquation(GL_FUNC_ADD);
        glDisable(GL_BLEND);
    }
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawCoveragePass(const IPointLightSource& light)
{
    BeginPass("DrawCoveragePass");
    BindTarget(Coverage);
    glColorMask(0, 0, 0, 1);
    glStencilMask(~0u);
    glClearColor(0, 0, 0, 0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glEnable(GL_STENCIL_TEST);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    RendererCommon::SetDepthClamp(true);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);

    Device->SetTexture(GL_TEXTURE0, FrameSet->GetTexture(Coordinates));
    Device->SetTexture(GL_TEXTURE1, Angles->GetTexture());
    Device->SetVertexFormat(WedgeFormat);
    Device->SetVertexAttributes(Wedges->GetVertexBuffer());
    Device->SetIndexBuffer(Wedges->GetIndexBuffer());

    const Sys::Ptr<const GL::IProgram> programs[3] = {WedgeConstruct, WedgeCoverage,
                                                      WedgeConstruct};
    for (const Sys::Ptr<IModel>& caster : Reach.ZFailCasters(light)) {
        if (!caster->ShadowCaster)
            continue;
        const Math::Mat4 modelMatrix = caster->GetModelMatrix();
        const Math::Mat4& toModel = Places.ToModel(*caster);
        // The construction works in the caster's space alone; the coverage also needs the
        // light in the world, where the coordinate target keeps the surfaces.
        const std::pair<const Sys::Ptr<GL::IProgram>*, int> wedgePrograms[2] = {
            {&WedgeConstruct, IPointLightSource::UniformsInModelSpace},
            {&WedgeCoverage, IPointLightSource::UniformsWithWorldPosition}};
        for (const auto& [program, mode] : wedgePrograms) {
            Device->SetProgram(*program);
            (*program)->SetUniformMatrix4("u_ModelMatrix", modelMatrix.Data());
            (*program)->SetUniform1i("u_TexCoordinate", 0);
            (*program)->SetUniform1i("u_TexAtan2", 1);
            light.SetUniforms(**program, toModel, mode);
            Reach.Limits(light, *caster).SetWedgeUniforms(**program);
        }
        DrawShadowWedges(*caster, true, programs);
    }

    Device->SetTexture(GL_TEXTURE1, Sys::Ptr<const GL::ITexture>());
    Device->SetTexture(GL_TEXTURE0, Sys::Ptr<const GL::ITexture>());
    glDisable(GL_BLEND);
    RendererCommon::SetDepthClamp(false);
    glDisable(GL_STENCIL_TEST);
    glStencilMask(0);
    glEnable(GL_CULL_FACE);
    glColorMask(1, 1, 1, 1);
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::CombineShadow(const IPointLightSource& light)
{
    BeginPass("CombineShadow");
    BindTarget(ShadowValue);
    glColorMask(0, 0, 0, 1);
    glDisable(GL_DEPTH_TEST);
    Device->SetProgram(Combine);
    Device->SetTexture(GL_TEXTURE0, FrameSet->GetTexture(HardCount));
    Device->SetTexture(GL_TEXTURE1, FrameSet->GetTexture(Coverage));
    // The surfaces' positions: each one's own plane hides part of the light.
    Device->SetTexture(GL_TEXTURE2, FrameSet->GetTexture(Coordinates));
    Combine->SetUniform1i("u_TexStencil", 0);
    Combine->SetUniform1i("u_TexCoverage", 1);
    Combine->SetUniform1i("u_TexCoordinate", 2);
    // The combine works in world space: the light's own values are the world's.
    light.SetUniforms(*Combine, Math::Mat4::Identity(),
                      IPointLightSource::UniformsWithWorldPosition);
    RendererCommon::DrawTargetQuad(FrameSet->GetShadowWidth(), FrameSet->GetShadowHeight());
    Device->SetTexture(GL_TEXTURE2, Sys::Ptr<const GL::ITexture>());
    Device->SetTexture(GL_TEXTURE1, Sys::Ptr<const GL::ITexture>());
    Device->SetTexture(GL_TEXTURE0, Sys::Ptr<const GL::ITexture>());
    glEnable(GL_DEPTH_TEST);
    glColorMask(1, 1, 1, 1);
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::FillNoShadow()
{
    BindTarget(ShadowValue);
    glColorMask(0, 0, 0, 1);
    glDisable(GL_DEPTH_TEST);
    Device->SetProgram(ColorTransform);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    RendererCommon::DrawTargetQuad(FrameSet->GetShadowWidth(), FrameSet->GetShadowHeight());
    glEnable(GL_DEPTH_TEST);
    glColorMask(1, 1, 1, 1);
}

void RendererEx::DrawColorPass(const IViewer& viewer, const IPointLightSource& light,
                               const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float worldDiffuse[3] = {0.9f, 0.9f, 0.9f};
    BeginPass("DrawColorPass");
    BindTarget(Picture);
    glColorMask(1, 1, 1, 0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_EQUAL);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    Device->SetTexture(GL_TEXTURE0, FrameSet->GetTexture(ShadowValue));
    const float scale = r_Shadow_Downsample.value ? 0.5f : 1.0f;

    RendererCommon::DrawLit(*Device, Formats, Lighting, {worldDiffuse, 16.0f, &scale}, viewer,
                            light, Places, world, models);
    Device->SetTexture(GL_TEXTURE0, Sys::Ptr<const GL::ITexture>());
    glDisable(GL_BLEND);
    glColorMask(1, 1, 1, 1);
    RendererCommon::DrawLightMarker(light, ColorTransform);
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawGUI()
{
    BeginPass("DrawGUI");
    BindTarget(Picture);
    RendererCommon::DrawOverlayPass(*Device, Formats, ColorTransform, *Font, Width, Height,
                                    FrameRate.GetFramesPerSecond(), FrameSet->GetWidth(),
                                    FrameSet->GetHeight(), FrameSet->UsesFramebufferObjects());
    glEnable(GL_DEPTH_TEST);
    GL::CheckErrors(*this, CurrentPassName);
}

} // namespace Korvo
