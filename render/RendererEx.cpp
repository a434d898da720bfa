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
#include "gl/TextGeometryCache.h"
#include "gl/TextureRectangle.h"
#include "platform/Clock.h"
#include "render/FrameEx.h"
#include "render/FrameTargets.h"
#include "render/LookupTexture_Atan2.h"
#include "render/PrimitiveBuffer_Quad.h"
#include "render/PrimitiveBuffer_WedgeS.h"
#include "render/RendererCommon.h"
#include "render/WedgeScissor.h"
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
    Sys::Ptr<GL::OutlineFont> font(new GL::OutlineFont("Arial", 0.0f, 0.0f));
    Font = font;
    OverlayCache = Sys::Ptr<GL::TextGeometryCache>(new GL::TextGeometryCache(font));
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
    RendererCommon::BeginEqualDepthPass(*Device);   // alpha: the triangle's normal
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
    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawAmbientPass(const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginPass("DrawAmbientPass");
    BindTarget(Picture);
    RendererCommon::DrawAmbient(*Device, Formats, Lighting, LightSources, Places, world,
                                models);
    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawAlphaStencilPass(const IPointLightSource& light)
{
    using Plan = ShadowVolumeDrawPlan;
    BeginPass("DrawAlphaStencilPass");
    BindTarget(HardCount);
    const bool stencil = r_Shadow_StencilOp.value;
    const bool separate = stencil && r_GL_SeparateStencil.value;
    const bool clearSelf = r_Shadow_ClearSelfShadowing.value;
    const bool clamp = r_GL_DepthClamp.value;
    const int variant = stencil ? 0 : 1;

    // Counting in the stencil, or by adding and subtracting 1/255 in alpha. Blending only
    // writes where the depth test passes, so the depth-fail counts of the blending variant
    // invert the test instead (GREATER for depth fail, ALWAYS for caps that always count).
    // Surfaces outside the light's depth range get none of its light and need no count.
    const GL::RasterState count = Reach.DepthBounded(
        light,
        stencil ? GL::RasterState().NoColor().NoDepthWrite().StencilFunc(GL_ALWAYS, 0)
                : GL::RasterState().AlphaOnly().NoDepthWrite().Additive(),
        r_GL_DepthBoundsTest.value);
    const GLenum depthFail = stencil ? GL_LESS : GL_GREATER;
    const GL::RasterState zPassSides = count.Depth(GL_LESS).Clamped(clamp).Culling(GL_BACK);
    // Depth-fail sides count only behind a surface: what lies nearer than every surface
    // can go.
    const GL::RasterState zFailSides =
        Reach.NearerCut(count.Depth(depthFail).Clamped(clamp).Culling(GL_BACK));
    // Clearing self-shadowing starts the volumes at the caster's faces turned from the
    // light, counted the other way round, so its lit faces stay outside them.
    const GL::RasterState reversedZPassCaps =
        stencil ? count.DepthEqual().Culling(GL_BACK).StencilOp(GL_KEEP, GL_KEEP, GL_INCR)
                : count.DepthEqual().Culling(GL_BACK);
    const GL::RasterState reversedCaps = count.Depth(stencil ? GL_EQUAL : GL_GREATER)
                                             .Culling(GL_BACK);
    const GL::RasterState caps = count.Depth(stencil ? GL_NEVER : GL_ALWAYS).Culling(GL_BACK);
    // The far caps lie past every lit surface: they count on every fragment. The stencil
    // variant counts on a depth test that never passes, as the hard renderer does; blending
    // writes only where its test passes, so it tests for lying behind the surface (GREATER).
    // Each face counts by its side like the sides' faces: the fan that closes a volume cut
    // short (ShadowVolume::DrawFarCaps) overlaps itself where the silhouette turns back.
    const GL::RasterState farCaps = count.Depth(stencil ? GL_NEVER : GL_GREATER).Clamped(clamp);
    // The stencil count moves into the target's alpha, untested.
    const GL::RasterState copy = GL::RasterState().AlphaOnly().NoDepthWrite();

    // Counting starts from the middle value 128 so that both signs fit in eight bits.
    Device->SetRasterState(count);
    if (stencil) {
        glClearStencil(128);
        glClear(GL_STENCIL_BUFFER_BIT);
    } else {
        glClearColor(0, 0, 0, 128.0f / 255.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor4f(0.0f, 0.0f, 0.0f, 1.0f / 255.0f);
    }

    RendererCommon::BindSideQuads(*Device, Formats, *Quads, ShadowVolume[variant]);
    const Plan::Steps zPass =
        Plan::Plan(Plan::Sides, Plan::DepthPassByBlending, stencil, separate, zPassSides);
    RendererCommon::DrawSides(Reach.ZPassCasters(light), light, Places, zPass,
                              *ShadowVolume[variant]);
    // Volumes clear of the near plane end past the lit surfaces, with nothing to close them:
    // no line of sight reaches that far.
    RendererCommon::DrawSides(Reach.ClearCasters(light), light, Places, zPass,
                              *ShadowVolume[variant], &Reach, true);
    RendererCommon::DrawSides(Reach.ZFailCasters(light), light, Places,
                              Plan::Plan(Plan::Sides, Plan::DepthFailByBlending, stencil,
                                         separate, zFailSides),
                              *ShadowVolume[variant], &Reach);

    Device->SetVertexFormat(Formats.Position);
    Device->SetProgram(ShadowCapNear[variant]);
    if (clearSelf) {
        const Plan::Steps zPassCaps = Plan::Plan(Plan::CapsReversed, Plan::DepthPassByBlending,
                                                 stencil, separate, reversedZPassCaps);
        RendererCommon::DrawCaps(Reach.ZPassCasters(light), false, zPassCaps);
        RendererCommon::DrawCaps(Reach.ClearCasters(light), false, zPassCaps);
        RendererCommon::DrawCaps(Reach.ZFailCasters(light), false,
                                 Plan::Plan(Plan::CapsReversed, Plan::DepthFailByBlending,
                                            stencil, separate, reversedCaps));
    } else {
        RendererCommon::DrawCaps(Reach.ZFailCasters(light), true,
                                 Plan::Plan(Plan::Caps, Plan::DepthFailByBlending, stencil,
                                            separate, caps));
    }

    if (!Reach.ZFailCasters(light).empty()) {
        // The far caps are the near caps' triangles moved away from the light: they face
        // the other way from the volume's outside, and count reversed.
        Device->SetProgram(ShadowCapFar[variant]);
        RendererCommon::DrawFarCaps(
            Reach.ZFailCasters(light), light, Places,
            Plan::Plan(clearSelf ? Plan::Caps : Plan::CapsReversed, Plan::DepthFailByBlending,
                       stencil, separate, farCaps),
            *ShadowCapFar[variant]);
    }

    if (stencil) {
        Device->SetRasterState(copy);
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
    }
    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

namespace {

// Where the construction program cuts the wedges it counts: "u_ShadowBound" (the light's
// reach in w), "u_ViewHull", "u_SceneHull" and "u_HullUse" (which of the two hulls hold), and
// "u_AxisReach", how far the lit surfaces reach along the caster's six axes.
void SetWedgeLimits(const GL::IProgram& program, const ShadowLimits& limits)
{
    const float reach[4] = {0.0f, 0.0f, 0.0f, limits.Reach};
    float view[5 * 3], scene[8 * 3];
    for (int i = 0; i < 5; ++i)
        view[3 * i] = limits.View[i].x, view[3 * i + 1] = limits.View[i].y,
                 view[3 * i + 2] = limits.View[i].z;
    for (int i = 0; i < 8; ++i)
        scene[3 * i] = limits.Scene[i].x, scene[3 * i + 1] = limits.Scene[i].y,
                  scene[3 * i + 2] = limits.Scene[i].z;
    const float use[2] = {limits.HasView ? 1.0f : 0.0f, limits.HasScene ? 1.0f : 0.0f};
    program.SetUniform4f("u_ShadowBound", reach);
    program.SetUniformArray("u_ViewHull", 5, 3, view);
    program.SetUniformArray("u_SceneHull", 8, 3, scene);
    program.SetUniform2f("u_HullUse", use);
    float axisReach[6];
    for (int i = 0; i < 6; ++i)
        axisReach[i] = limits.Farthest(ShadowLimits::Axes[i]);
    program.SetUniformArray("u_AxisReach", 6, 1, axisReach);
}

} // namespace

void RendererEx::DrawCoveragePass(const IPointLightSource& light)
{
    BeginPass("DrawCoveragePass");
    BindTarget(Coverage);
    // The wedges add into alpha where they cover a surface (see the shadow volume's steps).
    const GL::RasterState coverage = Reach.DepthBounded(light,
                                                        GL::RasterState()
                                                            .AlphaOnly()
                                                            .NoDepthWrite()
                                                            .StencilFunc(GL_ALWAYS, 0)
                                                            .Depth(GL_LESS)
                                                            .Clamped(r_GL_DepthClamp.value)
                                                            .Culling(GL_BACK)
                                                            .Additive(),
                                                        r_GL_DepthBoundsTest.value);
    // The count (the first draw) changes only behind a surface: what lies nearer the eye
    // than every surface can go. The cover and clear draws keep the whole front faces.
    ShadowVolumeDrawPlan::WedgeSteps wedges = ShadowVolumeDrawPlan::Wedges(coverage);
    wedges.State[0] = Reach.NearerCut(wedges.State[0]);

    Device->SetRasterState(coverage);
    glClearColor(0, 0, 0, 0);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    Device->SetTexture(GL_TEXTURE0, FrameSet->GetTexture(Coordinates));
    Device->SetTexture(GL_TEXTURE1, Angles->GetTexture());
    Device->SetVertexFormat(WedgeFormat);
    Device->SetVertexAttributes(Wedges->GetVertexBuffer());
    Device->SetIndexBuffer(Wedges->GetIndexBuffer());

    const Sys::Ptr<const GL::IProgram> programs[3] = {WedgeConstruct, WedgeCoverage,
                                                      WedgeConstruct};
    // Each batch's draws scissored to where its wedges can reach a lit surface.
    Math::Mat4 viewToClip;
    float nearPlane = 0.0f;
    const bool scissored = Reach.ViewToClip(viewToClip, nearPlane);
    for (const Sys::Ptr<IModel>& caster : Reach.WedgeCasters(light)) {
        if (!caster->ShadowCaster)
            continue;
        const Math::Mat4 modelMatrix = caster->GetModelMatrix();
        const Math::Mat4& toModel = Places.ToModel(*caster);
        const ShadowLimits limits = Reach.LimitsFor(light, *caster);
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
            if (program == &WedgeConstruct)
                SetWedgeLimits(**program, limits);
        }
        const WedgeScissor scissor(limits, light.GetSourceSize(), viewToClip * modelMatrix,
                                   nearPlane, FrameSet->GetShadowWidth(),
                                   FrameSet->GetShadowHeight());
        DrawShadowWedges(*caster, true, programs, wedges, r_Shadow_WedgeCount.value,
                         scissored ? &scissor : nullptr);
    }

    Device->SetTexture(GL_TEXTURE1, Sys::Ptr<const GL::ITexture>());
    Device->SetTexture(GL_TEXTURE0, Sys::Ptr<const GL::ITexture>());
    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::CombineShadow(const IPointLightSource& light)
{
    BeginPass("CombineShadow");
    BindTarget(ShadowValue);
    Device->SetRasterState(GL::RasterState().AlphaOnly());
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
    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::FillNoShadow()
{
    BindTarget(ShadowValue);
    // Alpha 1 over the shadow area, which a P-buffer target may exceed.
    Device->SetRasterState(GL::RasterState().AlphaOnly());
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, FrameSet->GetShadowWidth(), FrameSet->GetShadowHeight());
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    Device->SetRasterState(GL::RasterState());
}

void RendererEx::DrawColorPass(const IViewer& viewer, const IPointLightSource& light,
                               const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float worldDiffuse[3] = {0.9f, 0.9f, 0.9f};
    BeginPass("DrawColorPass");
    BindTarget(Picture);
    // Added up over the laid-down depth, the picture's alpha kept.
    const GL::RasterState lit =
        RendererCommon::EqualDepthBlock().Additive().Colors(true, true, true, false);

    Device->SetRasterState(lit);
    Device->SetTexture(GL_TEXTURE0, FrameSet->GetTexture(ShadowValue));
    const float scale = r_Shadow_Downsample.value ? 0.5f : 1.0f;

    RendererCommon::DrawLit(*Device, Formats, Lighting, {worldDiffuse, 16.0f, &scale}, viewer,
                            light, Places, world, models);
    Device->SetTexture(GL_TEXTURE0, Sys::Ptr<const GL::ITexture>());
    RendererCommon::DrawLightMarker(*Device, light, ColorTransform);
    Device->SetRasterState(GL::RasterState());
    GL::CheckErrors(*this, CurrentPassName);
}

void RendererEx::DrawGUI()
{
    BeginPass("DrawGUI");
    BindTarget(Picture);
    RendererCommon::DrawOverlayPass(*Device, Formats, ColorTransform, Overlay, *OverlayCache,
                                    Width, Height, FrameRate.GetFramesPerSecond(),
                                    FrameSet->GetWidth(), FrameSet->GetHeight(),
                                    FrameSet->UsesFramebufferObjects());
    GL::CheckErrors(*this, CurrentPassName);
}

} // namespace Korvo
