#pragma once

#include "gl/RasterState.h"

namespace Korvo {

// Which raster state each draw of a shadow-volume face set needs, worked out from the
// block of the pass that draws it; the shadow volume draws the steps through the device.
//
// With stencil counting and separate front and back stencil operations, every face set is
// drawn once, both faces at a time, each face with the operation that counts it. Otherwise
// the front faces and the back faces are drawn apart (culling the other side) with that
// operation. DepthPass and DepthFail count in the stencil with wrapping; the "by blending"
// modes count with the opposite sign and without wrapping, which is what counting by
// blending into the colour target needs when stencil counting is off (the blend equation
// then adds or subtracts), and what the stencil does when it stands in for it.
struct ShadowVolumeDrawPlan {
    enum Mode { DepthPass = 0, DepthPassByBlending = 1, DepthFail = 2, DepthFailByBlending = 3 };
    enum Operation { Sides, Caps, CapsReversed };

    // One or two draws of the same faces, each with its block.
    struct Steps {
        int Count = 0;
        GL::RasterState State[2];
    };

    // `pass` is the block of the pass (depth test, masks, stencil function, blending);
    // culling, stencil operations and the blend equation come from here. An unknown mode
    // throws Sys::DeveloperException.
    static Steps Plan(Operation operation, Mode mode, bool stencilOp, bool separateStencil,
                      const GL::RasterState& pass);

    // The three draws of a batch of penumbra wedges over the coverage pass's block: count
    // the wedge's inside into the stencil with both faces, write the covered pixels into
    // alpha, clear the stencil again.
    struct WedgeSteps {
        GL::RasterState State[3];
    };
    static WedgeSteps Wedges(const GL::RasterState& pass);

    // Calls f(first edge, edge count) for each batch of at most WedgeCount edges (lowered
    // to the edge count); nothing for no edges.
    template <class F>
    static void ForEachWedgeBatch(int EdgeCount, int WedgeCount, F f)
    {
        const int size = WedgeCount < EdgeCount ? WedgeCount : EdgeCount;
        if (size <= 0)
            return;
        for (int start = 0; start < EdgeCount; start += size)
            f(start, EdgeCount - start < size ? EdgeCount - start : size);
    }
};

} // namespace Korvo
