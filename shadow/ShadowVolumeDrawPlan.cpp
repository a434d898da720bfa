#include "shadow/ShadowVolumeDrawPlan.h"

#include "app/DeveloperException.h"

namespace Korvo {

namespace {

// How one face set counts: the faces drawn first and second (named by the face culled) and
// the operation of each; it acts on depth pass or on depth fail. Counting by blending uses
// the blend equations instead.
struct Count {
    GLenum FirstCull;
    bool OnDepthFail;
    GLenum FirstOp, SecondOp;
    GLenum FirstEquation, SecondEquation;
};

const Count DepthPassWrap = {GL_BACK, false, GL_INCR_WRAP, GL_DECR_WRAP, 0, 0};
const Count DepthPassSigned = {GL_BACK, false, GL_DECR, GL_INCR, GL_FUNC_REVERSE_SUBTRACT,
                               GL_FUNC_ADD};
const Count DepthFailWrap = {GL_FRONT, true, GL_INCR_WRAP, GL_DECR_WRAP, 0, 0};
const Count DepthFailSigned = {GL_FRONT, true, GL_DECR, GL_INCR, GL_FUNC_REVERSE_SUBTRACT,
                               GL_FUNC_ADD};
// The reversed near caps count the other way round.
const Count DepthFailWrapReversed = {GL_FRONT, true, GL_DECR_WRAP, GL_INCR_WRAP, 0, 0};
const Count DepthFailSignedReversed = {GL_FRONT, true, GL_INCR, GL_DECR, GL_FUNC_ADD,
                                       GL_FUNC_REVERSE_SUBTRACT};

GL::RasterState WithOp(const GL::RasterState& s, bool onDepthFail, GLenum op)
{
    return onDepthFail ? s.StencilOp(GL_KEEP, op, GL_KEEP) : s.StencilOp(GL_KEEP, GL_KEEP, op);
}

ShadowVolumeDrawPlan::Steps Apply(const Count& c, bool stencilOp, bool separate,
                                  const GL::RasterState& pass)
{
    ShadowVolumeDrawPlan::Steps steps;
    const GLenum secondCull = c.FirstCull == GL_BACK ? GL_FRONT : GL_BACK;
    if (stencilOp && separate) {
        // The faces the first draw keeps are the ones the other side's culling removes.
        const GLenum frontOp = c.FirstCull == GL_BACK ? c.FirstOp : c.SecondOp;
        const GLenum backOp = c.FirstCull == GL_BACK ? c.SecondOp : c.FirstOp;
        const GLenum keep = GL_KEEP;
        steps.Count = 1;
        steps.State[0] =
            c.OnDepthFail ? pass.NoCull().StencilOps(keep, frontOp, keep, keep, backOp, keep)
                          : pass.NoCull().StencilOps(keep, keep, frontOp, keep, keep, backOp);
        return steps;
    }
    steps.Count = 2;
    if (stencilOp || c.FirstEquation == 0) {
        steps.State[0] = WithOp(pass.Culling(c.FirstCull), c.OnDepthFail, c.FirstOp);
        steps.State[1] = WithOp(pass.Culling(secondCull), c.OnDepthFail, c.SecondOp);
    } else {
        steps.State[0] = pass.Culling(c.FirstCull).Equation(c.FirstEquation);
        steps.State[1] = pass.Culling(secondCull).Equation(c.SecondEquation);
    }
    return steps;
}

} // namespace

ShadowVolumeDrawPlan::Steps ShadowVolumeDrawPlan::Plan(Operation operation, Mode mode,
                                                       bool stencilOp, bool separate,
                                                       const GL::RasterState& pass)
{
    if (mode < DepthPass || mode > DepthFailByBlending)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_ENUM,
                                      "Korvo::ShadowVolume : Unknown <Mode> parameter.");
    const bool wrap = mode == DepthPass || mode == DepthFail;
    switch (operation) {
    case Sides:
        if (mode == DepthPass || mode == DepthPassByBlending)
            return Apply(wrap ? DepthPassWrap : DepthPassSigned, stencilOp, separate, pass);
        return Apply(wrap ? DepthFailWrap : DepthFailSigned, stencilOp, separate, pass);
    case Caps:
        return Apply(mode == DepthFail ? DepthFailWrap : DepthFailSigned, stencilOp, separate,
                     pass);
    case CapsReversed:
        if (mode == DepthPass || mode == DepthPassByBlending) {
            // Drawn once in the pass's own block.
            Steps steps;
            steps.Count = 1;
            steps.State[0] = pass;
            return steps;
        }
        return Apply(wrap ? DepthFailWrapReversed : DepthFailSignedReversed, stencilOp,
                     separate, pass);
    }
    return Steps();
}

ShadowVolumeDrawPlan::WedgeSteps ShadowVolumeDrawPlan::Wedges(const GL::RasterState& pass)
{
    WedgeSteps steps;
    steps.State[0] = pass.NoColor()
                         .NoCull()
                         .StencilFunc(GL_ALWAYS, 0)
                         .StencilOps(GL_KEEP, GL_DECR_WRAP, GL_KEEP, GL_KEEP, GL_INCR_WRAP,
                                     GL_KEEP);
    steps.State[1] =
        pass.AlphaOnly().StencilFunc(GL_NOTEQUAL, 0).StencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    steps.State[2] =
        pass.NoColor().StencilFunc(GL_EQUAL, 0).StencilOp(GL_ZERO, GL_KEEP, GL_KEEP);
    return steps;
}

} // namespace Korvo
