#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"
#include "math/Vec3.h"
#include "shadow/ShadowVolumeDrawPlan.h"

namespace GL {
class IProgram;
}

namespace Korvo {

class IWedgeScissor;

// GPU geometry of a mesh's shadow for one light, built from its adjacency's lists.
class IShadowVolume : public IObject {
public:
    // 0: side quads from the silhouette; 1: cap indices; 2: spherical wedges (6 corners);
    // 3: 10-corner wedges. Called after the adjacency's BuildLists for the same light, and
    // before the primitive buffers are bound: filling the streams rebinds the array and
    // element buffers.
    virtual void Update(int Type) = 0;
    // The side quads or the caps, drawn once for each step with its state.
    virtual void DrawSides(const ShadowVolumeDrawPlan::Steps& steps) = 0;
    virtual void DrawCaps(const ShadowVolumeDrawPlan::Steps& steps) = 0;
    // The far caps, drawn once for each step with its state: where the volume ends on a plane
    // (EndAt), the cap triangles moved onto it, or for steps of two draws a fan over the
    // silhouette's far edges there (after Update(0)); else the cap triangles for the program
    // to send to infinity.
    virtual void DrawFarCaps(const ShadowVolumeDrawPlan::Steps& steps) = 0;
    // Where the volume of the light at `light` ends, for the next Update(0) and DrawFarCaps
    // (mesh space): on the plane across the unit `axis` at `distance` from the light, where
    // the side quads' far vertices and the far caps then lie, or at infinity for a distance
    // of 0 (the vertex shader sends them there).
    virtual void EndAt(const Math::Vec3f& light, const Math::Vec3f& axis, float distance) = 0;
    // After EndAt: where one part of the mesh (IMeshAdjacency::GetPartCount) ends instead,
    // on a plane of its own across the unit `axis` at `distance` from the light, or at
    // infinity for a distance of 0. Each part's volume is closed by its own far cap,
    // so only a count in one draw (far caps of the cap triangles) or an open volume may end
    // by parts: the fan of two draws spans one plane.
    virtual void EndPartAt(int part, const Math::Vec3f& axis, float distance) = 0;
    virtual bool EndsOnPlane() const = 0;
    // Coverage of the penumbra wedges, in batches of at most wedgeCount edges, each batch
    // drawn three times with the steps' states and the programs of the three passes, all
    // three scissored to the batch's rectangle where `scissor` (which may be null) gives one.
    virtual void DrawWedges(const Sys::Ptr<const GL::IProgram> Programs[3],
                            const ShadowVolumeDrawPlan::WedgeSteps& steps, int wedgeCount,
                            const IWedgeScissor* scissor) = 0;
    virtual void DrawDebugWedges();
};

} // namespace Korvo
