#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"

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
    virtual void DrawSides(int Mode) = 0;
    virtual void DrawCaps(int Mode) = 0;
    virtual void DrawCapsReversed(int Mode) = 0;
    virtual void DrawCapsPlain() = 0;
    // Coverage of the penumbra wedges, in batches, with the programs of the three passes.
    virtual void DrawWedges(const Sys::Ptr<const GL::IProgram> Programs[3]) = 0;
    virtual void DrawDebugWedges();
};

} // namespace Korvo
