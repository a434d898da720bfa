#pragma once

#include "app/Ptr.h"
#include "math/Vec3.h"

namespace GL {
class IProgram;
}

namespace Korvo {

class IModel;

// Drawing a model's shadow geometry for one light. Every mesh of the model must carry an
// adjacency and a shadow volume (models loaded to cast shadows); nothing checks it.

// The light is given in the model's space (lightInModel).

// Side quads: the light's facing marks, silhouette and side geometry are rebuilt for
// every mesh, "u_LightSource.Position" of the bound program is set to the light, and the
// sides are drawn in the given mode inside the model matrix.
void DrawShadowVolumeSides(const IModel& model, const Math::Vec3f& lightInModel, int mode,
                           const GL::IProgram& program);
// Near caps from the facing marks of the last DrawShadowVolumeSides of the same light:
// the light-facing triangles (front) or the others, drawn as they are or reversed.
void DrawShadowVolumeCaps(const IModel& model, bool front, int mode);
// Far caps: the cap triangles of the same light sent to infinity by the bound program.
void DrawShadowVolumeFarCaps(const IModel& model, const Math::Vec3f& lightInModel,
                             const GL::IProgram& program);
// Penumbra wedges on the silhouette of the same light: spherical (six corners) or
// ten-corner; the three programs count, cover and clear as the shadow volume says.
void DrawShadowWedges(const IModel& model, bool spherical,
                      const Sys::Ptr<const GL::IProgram> programs[3]);

} // namespace Korvo
