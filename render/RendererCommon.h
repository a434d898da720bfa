#pragma once

#include "app/Ptr.h"
#include "world/IModel.h"
#include "world/IPointLightSource.h"

#include <string>
#include <utility>
#include <vector>

namespace GL {
class IFont;
class IProgram;
}

namespace Korvo {

class IRenderer;

// What the two renderers draw the same way: program loading, the ambient pass body, the
// light marker and the overlay.
namespace RendererCommon {

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

// Uniform names of the ambient program's light array, built once.
const std::string& AmbientUniform(int light, int field);   // field 0 Position, 1 Radius,
                                                           // 2 AmbientColor

// Sets the light uniforms of the bound ambient variant and draws models then world.
void DrawAmbientLights(const GL::IProgram& program,
                       const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                       const IModel* world, const std::vector<Sys::Ptr<IModel>>& models);

// The light's marker over the picture, in its translucent yellow.
void DrawLightMarker(const IPointLightSource& light, Sys::Ptr<const GL::IProgram> colorProgram);

// The four overlay lines, English or Russian by gui_English.
void DrawOverlay(const GL::IFont& font, int width, int height, int framesPerSecond,
                 int frameWidth, int frameHeight, bool framebufferObjects);

// A quad over a target of the given size, in pixels, with identity model-view and an
// orthographic projection pushed around it.
void DrawTargetQuad(int width, int height);

} // namespace RendererCommon

} // namespace Korvo
