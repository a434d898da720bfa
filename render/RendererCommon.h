#pragma once

#include "app/Ptr.h"
#include "gl/RasterState.h"
#include "gl/VertexFormat.h"
#include "shadow/ShadowVolumeDrawPlan.h"
#include "world/IModel.h"
#include "world/IPointLightSource.h"

#include <string>
#include <utility>
#include <vector>

namespace GL {
class IProgram;
class IRenderDevice;
class TextGeometryCache;
}

namespace Korvo {

class IRenderer;
class IViewer;
class OverlayLines;
class PrimitiveBuffer_Quad;
class ShadowReach;

// What the two renderers set up and draw the same way: program loading, the vertex
// formats, the depth, ambient, lit and overlay pass bodies, the shadow-volume caster loops,
// the light marker.
namespace RendererCommon {

using AttributeList = std::vector<std::pair<const char*, int>>;

// Attribute bindings: the position alone, with the normal, with the extrusion weight.
inline const AttributeList PositionAttributes = {{"in_Vertex", 0}};
inline const AttributeList NormalAttributes = {{"in_Vertex", 0}, {"in_Normal", 1}};
inline const AttributeList ExtrusionAttributes = {{"in_Vertex", 0}, {"in_WCoord", 1}};

// The lit pass programs: ambient variants for one to six lights, Lambert for the models,
// Phong for the world.
struct LightingPrograms {
    // fragmentDefine goes to Lambert's and Phong's fragment shaders ("SHADOW" where they
    // read a shadow texture).
    void Load(const std::string& fragmentDefine);

    Sys::Ptr<GL::IProgram> Ambient[6];
    Sys::Ptr<GL::IProgram> Lambert;
    Sys::Ptr<GL::IProgram> Phong;
};

// Three floats at 0; then three more at 1 for the normal or the extrusion weight.
struct VertexFormats {
    void Compile();

    GL::VertexFormat Position;
    GL::VertexFormat PositionNormal;
    GL::VertexFormat PositionExtrusion;
};

// The lights in the space of each model drawn with them, worked out once a frame and read
// by every pass: the models' matrices change only between frames. Update comes before the
// frame's first pass, with the frame's lights and models; the lights' casters join the
// models. Room for the usual scene is reserved up front, and the lists keep what they
// grew to, so a frame allocates nothing.
struct ModelSpaceLights {
    ModelSpaceLights();

    void Update(const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                const std::vector<Sys::Ptr<IModel>>& models);

    const Math::Vec3f& Position(const IPointLightSource& light, const IModel& model) const;
    // World space into the model's.
    const Math::Mat4& ToModel(const IModel& model) const;

private:
    void Add(const IModel& model);
    size_t IndexOf(const IModel& model) const;

    std::vector<const IModel*> Models;
    std::vector<Math::Mat4> ToModelMatrices;
    std::vector<const IPointLightSource*> Lights;
    std::vector<Math::Vec3f> Positions;   // a row of Models.size() per light
};

struct ProgramSource {
    const char* Vertex;
    const char* Fragment;        // nullptr: vertex shader only
    std::string VertexDefine;
    std::string FragmentDefine;
    std::vector<std::pair<const char*, int>> Attributes;
};

// Loads the shader files through the global shader loader, binds the attribute names
// and links.
Sys::Ptr<GL::IProgram> LoadProgram(const ProgramSource& source);

// Uniform names of the ambient program's light array.
const char* AmbientUniform(int light, int field);   // field 0 Position, 1 Radius,
                                                    // 2 AmbientColor

// Sets the light uniforms of the bound ambient variant and draws models then world.
void DrawAmbientLights(const GL::IProgram& program,
                       const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                       const ModelSpaceLights& places, const IModel* world,
                       const std::vector<Sys::Ptr<IModel>>& models);

// The light's marker over the picture, in its translucent yellow; the device is left in
// the marker's block.
void DrawLightMarker(GL::IRenderDevice& device, const IPointLightSource& light,
                     Sys::Ptr<const GL::IProgram> colorProgram);

// The four overlay lines, English or Russian by gui_English, brought up to date and drawn
// from the text cache of the overlay's font (whose vertex format is bound).
void DrawOverlay(GL::IRenderDevice& device, OverlayLines& lines, GL::TextGeometryCache& text,
                 int width, int height, int framesPerSecond, int frameWidth, int frameHeight,
                 bool framebufferObjects);

// Turns off the depth clamp and depth-bounds variables where the driver lacks them.
void ConfigureDepthVariables();

// Loads the viewer's projection and view into the fixed-function matrix stacks.
void LoadViewerMatrices(const IViewer& viewer);

// Lays down depth of the models then the world with colour writes off, after clearing
// depth and, where asked, stencil to 0; ends in the default block.
void DrawDepth(GL::IRenderDevice& device, const VertexFormats& formats,
               const Sys::Ptr<GL::IProgram>& transform, const IModel* world,
               const std::vector<Sys::Ptr<IModel>>& models, bool clearStencil);

// Drawing over the laid-down depth: the depth-equal test without depth writes, back faces
// culled.
const GL::RasterState& EqualDepthBlock();

// Applies the depth-equal block and clears colour (alpha included) to black: the start of
// the passes that fill a target over the laid-down depth.
void BeginEqualDepthPass(GL::IRenderDevice& device);

// Ambient light of all lights at once, with the variant one above the light count; ends in
// the depth-equal block.
void DrawAmbient(GL::IRenderDevice& device, const VertexFormats& formats,
                 const LightingPrograms& programs,
                 const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                 const ModelSpaceLights& places, const IModel* world,
                 const std::vector<Sys::Ptr<IModel>>& models);

// What the lit pass gives the world's Phong material and the shadow texture.
struct LitSurface {
    const float* WorldDiffuse;
    float WorldSpecularPow;
    // Texture coordinate scale into the shadow texture on unit 0; nullptr: no shadow
    // texture is read.
    const float* ShadowCoordScale;
};

// One light's diffuse and specular light: Phong on the world, Lambert on the models with
// the light in each model's space. The blend and depth state are the caller's.
void DrawLit(GL::IRenderDevice& device, const VertexFormats& formats,
             const LightingPrograms& programs, const LitSurface& surface,
             const IViewer& viewer, const IPointLightSource& light,
             const ModelSpaceLights& places, const IModel* world,
             const std::vector<Sys::Ptr<IModel>>& models);

// Binds the side-quad geometry and the volume program before the sides are drawn.
void BindSideQuads(GL::IRenderDevice& device, const VertexFormats& formats,
                   const PrimitiveBuffer_Quad& quads, const Sys::Ptr<GL::IProgram>& program);

// The shadow-volume drawing of ShadowDrawing.h over the casters that cast shadows. With a
// reach, the sides end past the frame's lit surfaces where a mesh allows it; without, they
// reach infinity (`open`: see DrawShadowVolumeSides). The caps follow the sides last drawn
// for the same light and casters.
void DrawSides(const std::vector<Sys::Ptr<IModel>>& casters, const IPointLightSource& light,
               const ModelSpaceLights& places, const ShadowVolumeDrawPlan::Steps& steps,
               const GL::IProgram& program, const ShadowReach* reach = nullptr,
               bool open = false);
void DrawCaps(const std::vector<Sys::Ptr<IModel>>& casters, bool front,
              const ShadowVolumeDrawPlan::Steps& steps);
void DrawFarCaps(const std::vector<Sys::Ptr<IModel>>& casters, const IPointLightSource& light,
                 const ModelSpaceLights& places, const ShadowVolumeDrawPlan::Steps& steps,
                 const GL::IProgram& program);

// The overlay pass: the lines alpha-blended and smoothed over the picture, without depth
// or stencil tests; ends in the default block.
void DrawOverlayPass(GL::IRenderDevice& device, const VertexFormats& formats,
                     const Sys::Ptr<GL::IProgram>& colorProgram, OverlayLines& lines,
                     GL::TextGeometryCache& text, int width, int height, int framesPerSecond,
                     int frameWidth, int frameHeight, bool framebufferObjects);

// A quad over a target of the given size, in pixels, with identity model-view and an
// orthographic projection pushed around it.
void DrawTargetQuad(int width, int height);

} // namespace RendererCommon

} // namespace Korvo
