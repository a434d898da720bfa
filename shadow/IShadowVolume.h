#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"
#include "shadow/ShadowVolumeDrawPlan.h"

namespace GL {
class IProgram;
}

namespace Korvo {

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
    // The caps in the state the renderer has set.
    virtual void DrawCapsPlain() = 0;
    // Coverage of the penumbra wedges, in batches of at most wedgeCount edges, each batch
    // drawn three times with the steps' states and the programs of the three passes.
    virtual void DrawWedges(const Sys::Ptr<const GL::IProgram> Programs[3],
                            const ShadowVolumeDrawPlan::WedgeSteps& steps, int wedgeCount) = 0;
    virtual void DrawDebugWedges();
};

} // namespace Korvo
