#include "render/RendererCommon.h"

#include "app/DeveloperException.h"
#include "config/CVars.h"
#include "gl/DriverDesc.h"
#include "gl/ExtensionRegistry.h"
#include "gl/IRenderDevice.h"
#include "gl/Program.h"
#include "gl/TextGeometryCache.h"
#include "media/ShaderLoader.h"
#include "render/OverlayLines.h"
#include "render/PrimitiveBuffer_Quad.h"
#include "render/ShadowReach.h"
#include "world/IViewer.h"
#include "world/ShadowDrawing.h"

#include <GL/glew.h>

#include <algorithm>

namespace Korvo {
namespace RendererCommon {

namespace {

// Pixel coordinates over a width x height area, with an identity model-view; both
// matrices are pushed so that PopPixelMatrices restores the caller's.
void PushPixelMatrices(int width, int height)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void PopPixelMatrices()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

} // namespace

ModelSpaceLights::ModelSpaceLights()
{
    constexpr size_t models = 64;
    constexpr size_t lights = 8;
    Models.reserve(models);
    ToModelMatrices.reserve(models);
    Lights.reserve(lights);
    Positions.reserve(models * lights);
}

void ModelSpaceLights::Add(const IModel& model)
{
    if (std::find(Models.begin(), Models.end(), &model) != Models.end())
        return;
    Models.push_back(&model);
    ToModelMatrices.push_back(model.GetModelMatrix().InverseRigid());
}

void ModelSpaceLights::Update(const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                              const std::vector<Sys::Ptr<IModel>>& models)
{
    Models.clear();
    ToModelMatrices.clear();
    Lights.clear();
    Positions.clear();
    for (const Sys::Ptr<IModel>& model : models)
        Add(*model);
    for (const Sys::Ptr<const IPointLightSource>& light : lights) {
        for (const Sys::Ptr<IModel>& caster : light->ZPassCasters)
            Add(*caster);
        for (const Sys::Ptr<IModel>& caster : light->ZFailCasters)
            Add(*caster);
    }
    for (const Sys::Ptr<const IPointLightSource>& light : lights) {
        Lights.push_back(light.Get());
        for (const Math::Mat4& toModel : ToModelMatrices)
            Positions.push_back(toModel.TransformPoint(light->Position));
    }
}

size_t ModelSpaceLights::IndexOf(const IModel& model) const
{
    const auto found = std::find(Models.begin(), Models.end(), &model);
    if (found == Models.end())
        throw Sys::DeveloperException("A model was drawn that the frame's light table lacks.");
    return static_cast<size_t>(found - Models.begin());
}

const Math::Vec3f& ModelSpaceLights::Position(const IPointLightSource& light,
                                              const IModel& model) const
{
    const auto found = std::find(Lights.begin(), Lights.end(), &light);
    if (found == Lights.end())
        throw Sys::DeveloperException("A light was drawn that the frame's light table lacks.");
    const size_t row = static_cast<size_t>(found - Lights.begin());
    return Positions[row * Models.size() + IndexOf(model)];
}

const Math::Mat4& ModelSpaceLights::ToModel(const IModel& model) const
{
    return ToModelMatrices[IndexOf(model)];
}

Sys::Ptr<GL::IProgram> LoadProgram(const ProgramSource& source)
{
    Sys::Ptr<const GL::IShader> vertex =
        g_ShaderLoader->LoadVertexShader(source.Vertex, source.VertexDefine);
    Sys::Ptr<const GL::IShader> fragment;
    if (source.Fragment != nullptr)
        fragment = g_ShaderLoader->LoadFragmentShader(source.Fragment,
                                                             source.FragmentDefine);
    Sys::Ptr<GL::Program> program(new GL::Program());
    program->AttachShader(vertex);
    if (fragment)
        program->AttachShader(fragment);
    for (const auto& attribute : source.Attributes)
        program->BindAttribute(attribute.first, attribute.second);
    program->Link();
    return program;
}

void LightingPrograms::Load(const std::string& fragmentDefine)
{
    for (int i = 0; i < 6; ++i) {
        const std::string define = "MAX_LIGHTS " + std::to_string(i + 1);
        Ambient[i] = LoadProgram({"Shaders/LightingModels/Ambient.vsh",
                                  "Shaders/LightingModels/Ambient.fsh", define, define,
                                  NormalAttributes});
    }
    Lambert = LoadProgram({"Shaders/LightingModels/Lambert.vsh",
                           "Shaders/LightingModels/Lambert.fsh", "", fragmentDefine,
                           NormalAttributes});
    Phong = LoadProgram({"Shaders/LightingModels/Phong.vsh", "Shaders/LightingModels/Phong.fsh",
                         "", fragmentDefine, NormalAttributes});
}

void VertexFormats::Compile()
{
    Position.AddAttribute(0, 3, GL_FLOAT);
    Position.Compile();
    PositionNormal.AddAttribute(0, 3, GL_FLOAT);
    PositionNormal.AddAttribute(1, 3, GL_FLOAT);
    PositionNormal.Compile();
    PositionExtrusion.AddAttribute(0, 3, GL_FLOAT);
    PositionExtrusion.AddAttribute(1, 3, GL_FLOAT);
    PositionExtrusion.Compile();
}

void ConfigureDepthVariables()
{
    if (!GL::Extensions->GL_NV_depth_clamp)
        r_GL_DepthClamp.value = false;
    if (!GL::Extensions->GL_EXT_depth_bounds_test)
        r_GL_DepthBoundsTest.value = false;
}

void LoadViewerMatrices(const IViewer& viewer)
{
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(viewer.GetProjectionMatrix().Data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(viewer.GetViewMatrix().Data());
}

void DrawDepth(GL::IRenderDevice& device, const VertexFormats& formats,
               const Sys::Ptr<GL::IProgram>& transform, const IModel* world,
               const std::vector<Sys::Ptr<IModel>>& models, bool clearStencil)
{
    // Depth (and stencil) cleared through full write masks, then depth written alone; no
    // later pass of the frame writes depth.
    const GL::RasterState clear = GL::RasterState().NoColor();
    const GL::RasterState depth = clear.Depth(GL_LESS).Culling(GL_BACK);

    device.SetRasterState(clear);
    glClearStencil(0);
    glClear(clearStencil ? GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT : GL_DEPTH_BUFFER_BIT);
    device.SetRasterState(depth);
    device.SetVertexFormat(formats.Position);
    device.SetProgram(transform);
    for (const Sys::Ptr<IModel>& model : models)
        model->DrawModel();
    if (world != nullptr)
        world->DrawModel();
    device.SetRasterState(GL::RasterState());
}

const GL::RasterState& EqualDepthBlock()
{
    static const GL::RasterState block =
        GL::RasterState().DepthEqual().NoDepthWrite().Culling(GL_BACK);
    return block;
}

void BeginEqualDepthPass(GL::IRenderDevice& device)
{
    device.SetRasterState(EqualDepthBlock());
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
}

void DrawAmbient(GL::IRenderDevice& device, const VertexFormats& formats,
                 const LightingPrograms& programs,
                 const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                 const ModelSpaceLights& places, const IModel* world,
                 const std::vector<Sys::Ptr<IModel>>& models)
{
    BeginEqualDepthPass(device);
    device.SetVertexFormat(formats.PositionNormal);
    // The variant one above the light count: lights beyond it were cut by SetLightSources.
    const Sys::Ptr<GL::IProgram>& program = programs.Ambient[lights.size()];
    device.SetProgram(program);
    DrawAmbientLights(*program, lights, places, world, models);
}

void DrawLit(GL::IRenderDevice& device, const VertexFormats& formats,
             const LightingPrograms& programs, const LitSurface& surface,
             const IViewer& viewer, const IPointLightSource& light,
             const ModelSpaceLights& places, const IModel* world,
             const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float modelDiffuse[3] = {0.8f, 0.8f, 0.8f};
    const GL::IProgram& phong = *programs.Phong;
    const GL::IProgram& lambert = *programs.Lambert;
    device.SetVertexFormat(formats.PositionNormal);
    if (world != nullptr) {
        device.SetProgram(programs.Phong);
        if (surface.ShadowCoordScale != nullptr) {
            phong.SetUniform1i("u_TexShadow", 0);
            phong.SetUniform1f("u_TexCoordScale", *surface.ShadowCoordScale);
        }
        phong.SetUniform3f("u_LightSource.Position", light.Position.Data());
        phong.SetUniform1f("u_LightSource.Radius", light.Radius);
        phong.SetUniform3f("u_LightSource.DiffuseColor", light.DiffuseColor.Data());
        phong.SetUniform3f("u_LightSource.SpecularColor", light.SpecularColor.Data());
        phong.SetUniform3f("u_Material.DiffuseColor", surface.WorldDiffuse);
        phong.SetUniform1f("u_Material.SpecularPow", surface.WorldSpecularPow);
        phong.SetUniform3f("u_ViewPosition", viewer.GetPosition().Data());
        world->DrawModel();
    }
    device.SetProgram(programs.Lambert);
    if (surface.ShadowCoordScale != nullptr) {
        lambert.SetUniform1i("u_TexShadow", 0);
        lambert.SetUniform1f("u_TexCoordScale", *surface.ShadowCoordScale);
    }
    lambert.SetUniform1f("u_LightSource.Radius", light.Radius);
    lambert.SetUniform3f("u_LightSource.DiffuseColor", light.DiffuseColor.Data());
    lambert.SetUniform3f("u_Material.DiffuseColor", modelDiffuse);
    for (const Sys::Ptr<IModel>& model : models) {
        lambert.SetUniform3f("u_LightSource.Position", places.Position(light, *model).Data());
        model->DrawModel();
    }
}

void BindSideQuads(GL::IRenderDevice& device, const VertexFormats& formats,
                   const PrimitiveBuffer_Quad& quads, const Sys::Ptr<GL::IProgram>& program)
{
    device.SetVertexFormat(formats.PositionExtrusion);
    device.SetVertexAttributes(quads.GetVertexBuffer());
    device.SetIndexBuffer(quads.GetIndexBuffer());
    device.SetProgram(program);
}

void DrawSides(const std::vector<Sys::Ptr<IModel>>& casters, const IPointLightSource& light,
               const ModelSpaceLights& places, const ShadowVolumeDrawPlan::Steps& steps,
               const GL::IProgram& program, const ShadowReach* reach, bool open)
{
    for (const Sys::Ptr<IModel>& caster : casters) {
        if (!caster->ShadowCaster)
            continue;
        ShadowLimits limits;
        if (reach != nullptr)
            limits = reach->LimitsFor(light, *caster);
        DrawShadowVolumeSides(*caster, places.Position(light, *caster), steps, program,
                              reach != nullptr ? &limits : nullptr, open);
    }
}

void DrawCaps(const std::vector<Sys::Ptr<IModel>>& casters, bool front,
              const ShadowVolumeDrawPlan::Steps& steps)
{
    for (const Sys::Ptr<IModel>& caster : casters)
        if (caster->ShadowCaster)
            DrawShadowVolumeCaps(*caster, front, steps);
}

void DrawFarCaps(const std::vector<Sys::Ptr<IModel>>& casters, const IPointLightSource& light,
                 const ModelSpaceLights& places, const ShadowVolumeDrawPlan::Steps& steps,
                 const GL::IProgram& program)
{
    for (const Sys::Ptr<IModel>& caster : casters)
        if (caster->ShadowCaster)
            DrawShadowVolumeFarCaps(*caster, places.Position(light, *caster), steps, program);
}

void DrawOverlayPass(GL::IRenderDevice& device, const VertexFormats& formats,
                     const Sys::Ptr<GL::IProgram>& colorProgram, OverlayLines& lines,
                     GL::TextGeometryCache& text, int width, int height, int framesPerSecond,
                     int frameWidth, int frameHeight, bool framebufferObjects)
{
    const GL::RasterState blended = GL::RasterState().Culling(GL_BACK).AlphaBlended();

    device.SetProgram(colorProgram);
    device.SetVertexFormat(formats.Position);
    device.SetRasterState(blended);
    glEnable(GL_POLYGON_SMOOTH);
    DrawOverlay(device, lines, text, width, height, framesPerSecond, frameWidth, frameHeight,
                framebufferObjects);
    glDisable(GL_POLYGON_SMOOTH);
    device.SetRasterState(GL::RasterState());
}

const char* AmbientUniform(int light, int field)
{
    static const char* const names[6][3] = {
        {"u_LightSource[0].Position", "u_LightSource[0].Radius", "u_LightSource[0].AmbientColor"},
        {"u_LightSource[1].Position", "u_LightSource[1].Radius", "u_LightSource[1].AmbientColor"},
        {"u_LightSource[2].Position", "u_LightSource[2].Radius", "u_LightSource[2].AmbientColor"},
        {"u_LightSource[3].Position", "u_LightSource[3].Radius", "u_LightSource[3].AmbientColor"},
        {"u_LightSource[4].Position", "u_LightSource[4].Radius", "u_LightSource[4].AmbientColor"},
        {"u_LightSource[5].Position", "u_LightSource[5].Radius", "u_LightSource[5].AmbientColor"}};
    return names[light][field];
}

void DrawAmbientLights(const GL::IProgram& program,
                       const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                       const ModelSpaceLights& places, const IModel* world,
                       const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float ambient[3] = {0.02f, 0.02f, 0.02f};
    static const float white[3] = {1.0f, 1.0f, 1.0f};
    program.SetUniform3f("u_AmbientColor", ambient);
    const int count = static_cast<int>(lights.size());
    for (int i = 0; i < count; ++i) {
        program.SetUniform1f(AmbientUniform(i, 1), lights[i]->Radius);
        program.SetUniform3f(AmbientUniform(i, 2), lights[i]->AmbientColor.Data());
    }
    for (const Sys::Ptr<IModel>& model : models) {
        for (int i = 0; i < count; ++i)
            program.SetUniform3f(AmbientUniform(i, 0), places.Position(*lights[i], *model).Data());
        program.SetUniform3f("u_Material.DiffuseColor", white);
        model->DrawModel();
    }
    if (world != nullptr) {
        // The world is lit as if its model matrix were the identity.
        for (int i = 0; i < count; ++i)
            program.SetUniform3f(AmbientUniform(i, 0), lights[i]->Position.Data());
        program.SetUniform3f("u_Material.DiffuseColor", white);
        world->DrawModel();
    }
}

void DrawLightMarker(GL::IRenderDevice& device, const IPointLightSource& light,
                     Sys::Ptr<const GL::IProgram> colorProgram)
{
    // Hidden by the surfaces in front of it, blended over the picture.
    const GL::RasterState marker =
        GL::RasterState().Depth(GL_LESS).NoDepthWrite().Culling(GL_BACK).AlphaBlended();

    device.SetProgram(colorProgram);
    device.SetRasterState(marker);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glColor4f(1.0f, 1.0f, 0.0f, 0.5f);
    light.DrawMarker();
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
}

void DrawOverlay(GL::IRenderDevice& device, OverlayLines& lines, GL::TextGeometryCache& text,
                 int width, int height, int framesPerSecond, int frameWidth, int frameHeight,
                 bool framebufferObjects)
{
    glPushAttrib(GL_TRANSFORM_BIT);
    PushPixelMatrices(width, height);

    lines.Update(gui_English.value, demo_ID.value, GL::Driver->Renderer, frameWidth,
                 frameHeight, framebufferObjects, framesPerSecond);
    for (int i = 0; i < OverlayText::LineCount; ++i) {
        const auto line = static_cast<OverlayText::Line>(i);
        const OverlayLine& look = lines.GetLook(line);
        glColor4fv(look.Color);
        text.Print(device, OverlayText::Left, height - look.OffsetFromTop, lines.GetText(line));
    }

    PopPixelMatrices();
    glPopAttrib();
}

void DrawTargetQuad(int width, int height)
{
    PushPixelMatrices(width, height);
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(width, 0);
    glVertex2i(width, height);
    glVertex2i(0, height);
    glEnd();
    PopPixelMatrices();
}

} // namespace RendererCommon
} // namespace Korvo
