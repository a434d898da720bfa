#pragma once

#include <GL/glew.h>


namespace Korvo {

// Which state each draw of a shadow-volume face set needs.
//
// With stencil counting and separate front and back stencil operations already set by
// the renderer, every face set is drawn once as it is. Otherwise the front faces and the
// back faces are drawn apart (culling the other side) with the operation that counts
// them. Modes 0 and 1 count depth-pass, 2 and 3 depth-fail; modes 1 and 3 count with the
// opposite sign and without wrapping, which is what counting by blending into the colour
// target needs when stencil counting is off (modes 0 and 2 always use the stencil).
struct ShadowVolumeDrawPlan {
    enum Operation { Sides, Caps, CapsReversed };

    struct Step {
        GLenum Cull = 0;                 // 0: leave culling as it is
        GLenum StencilOp[3] = {0, 0, 0}; // fail, depth-fail, depth-pass; 0: leave them
        GLenum BlendEquation = 0;        // 0: leave it
    };

    // Fills up to two steps and returns how many draws to make. An unknown mode throws
    // Sys::DeveloperException.
    static int Plan(Operation operation, int Mode, bool StencilOp, bool SeparateStencil,
                    Step steps[2]);

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
