#pragma once

#include "shadow/IMeshAdjacency.h"

namespace Korvo {

// Where on the target a batch of penumbra wedges can change anything: the window rectangle
// outside which every surface the wedges hold gets none of the light, so the batch's three
// draws may be scissored to it.
class IWedgeScissor {
public:
    virtual ~IWedgeScissor() = default;

    // The rectangle (x, y, width, height in window pixels; width or height 0 where the
    // batch reaches no lit surface in view) for the wedges of these silhouette edges, in the
    // space of the mesh they belong to. False where no rectangle short of the whole target
    // holds them.
    virtual bool Rectangle(const IMeshAdjacency::Edge* edges, int count, int rect[4]) const = 0;
};

} // namespace Korvo
