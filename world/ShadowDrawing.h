#pragma once

#include "app/Ptr.h"
#include "math/Vec3.h"
#include "shadow/ShadowVolumeDrawPlan.h"

namespace GL {
class IProgram;
}

namespace Korvo {

class IMesh;
class IModel;
struct ShadowLimits;
class IWedgeScissor;

// Where a volume ends: on the plane across the unit Axis at Distance from the light, or at
// infinity for a Distance of 0.
struct VolumeEnd {
    Math::Vec3f Axis;
    float Distance = 0.0f;
};

// Where the mesh's volume ends for the light (ShadowLimits::VolumeEnd): on a plane past the
// lit surfaces, or at infinity without limits or where the mesh allows no such plane. With
// `anyAxis`, the plane may lie across any axis that suits the mesh.
VolumeEnd MeshVolumeEnd(const IMesh& mesh, const ShadowLimits* limits, bool anyAxis);
// Where one part of the mesh (IMeshAdjacency::GetPartCount) ends, with the part's box as the
// adjacency keeps it (IMeshAdjacency::GetPartMin): across whichever axis suits the part's
// own box, or where the whole mesh ends (`whole`) if none does. A part can end on a plane
// where the whole mesh cannot, and any plane the whole mesh may end on suits each of its
// parts.
VolumeEnd PartVolumeEnd(const IMesh& mesh, int part, const ShadowLimits& limits,
                        const VolumeEnd& whole);
// Whether the mesh's parts end each on their own: the mesh has more than one part, there
// are limits, and the ends may lie across any axis.
bool EndsByParts(const IMesh& mesh, const ShadowLimits* limits, bool anyAxis);

// Drawing a model's shadow geometry for one light. Every mesh of the model must carry an
// adjacency and a shadow volume (models loaded to cast shadows); nothing checks it.

// The light is given in the model's space (lightInModel).

// Side quads: the light's facing marks, silhouette and side geometry are rebuilt for
// every mesh, "u_LightSource.Position" of the bound program is set to the light, and the
// sides are drawn with the steps' states inside the model matrix. With limits (the model's
// space), each mesh's volume ends on the plane they give it where they give one, and
// "u_FarGiven" tells the program so; without, every volume reaches infinity. Where one draw
// counts both faces, or `open` (no far caps will close the volumes: they are counted in
// front of the surfaces), each of a mesh's parts ends on a plane of its own.
void DrawShadowVolumeSides(const IModel& model, const Math::Vec3f& lightInModel,
                           const ShadowVolumeDrawPlan::Steps& steps, const GL::IProgram& program,
                           const ShadowLimits* limits = nullptr, bool open = false);
// Near caps from the facing marks of the last DrawShadowVolumeSides of the same light:
// the light-facing triangles (front) or the others, with the steps' states (the plan's
// Caps or CapsReversed).
void DrawShadowVolumeCaps(const IModel& model, bool front,
                          const ShadowVolumeDrawPlan::Steps& steps);
// Far caps closing the volumes of the last DrawShadowVolumeSides of the same light, with the
// steps' states: the cap triangles of the last DrawShadowVolumeCaps on the plane where each
// mesh's sides ended (or a fan over the silhouette's far edges there, which stands for
// them; see ShadowVolume::DrawFarCaps), or sent to infinity by the bound program where they
// reach it. They keep the near caps' winding, so they face the other way from the volume's
// outside: the plan's CapsReversed for the light-facing triangles, Caps for the others.
void DrawShadowVolumeFarCaps(const IModel& model, const Math::Vec3f& lightInModel,
                             const ShadowVolumeDrawPlan::Steps& steps, const GL::IProgram& program);
// Penumbra wedges on the silhouette of the same light: spherical (six corners) or
// ten-corner; the three programs count, cover and clear with the steps' states, in batches
// of at most wedgeCount edges, each scissored where `scissor` (which may be null) says.
void DrawShadowWedges(const IModel& model, bool spherical,
                      const Sys::Ptr<const GL::IProgram> programs[3],
                      const ShadowVolumeDrawPlan::WedgeSteps& steps, int wedgeCount,
                      const IWedgeScissor* scissor);

} // namespace Korvo
