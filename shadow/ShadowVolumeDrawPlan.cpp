#include "shadow/ShadowVolumeDrawPlan.h"

#include "app/DeveloperException.h"


namespace Korvo {

namespace {

using Step = ShadowVolumeDrawPlan::Step;

Step Stencil(GLenum cull, GLenum fail, GLenum depthFail, GLenum depthPass)
{
    Step s;
    s.Cull = cull;
    s.StencilOp[0] = fail;
    s.StencilOp[1] = depthFail;
    s.StencilOp[2] = depthPass;
    return s;
}

Step Blend(GLenum cull, GLenum equation)
{
    Step s;
    s.Cull = cull;
    s.BlendEquation = equation;
    return s;
}

// Front faces (cull GL_BACK) then back faces (cull GL_FRONT), or the other way round.
int Pair(Step steps[2], const Step& first, const Step& second)
{
    steps[0] = first;
    steps[1] = second;
    return 2;
}

} // namespace

int ShadowVolumeDrawPlan::Plan(Operation operation, int mode, bool stencilOp, bool separate,
                               Step steps[2])
{
    if (mode < 0 || mode > 3)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_ENUM,
                                      "Korvo::ShadowVolume : Unknown <Mode> parameter.");
    steps[0] = steps[1] = Step();
    if (stencilOp && separate)
        return 1;

    switch (operation) {
    case Sides:
        switch (mode) {
        case 0:
            return Pair(steps, Stencil(GL_BACK, GL_KEEP, GL_KEEP, GL_INCR_WRAP),
                        Stencil(GL_FRONT, GL_KEEP, GL_KEEP, GL_DECR_WRAP));
        case 1:
            return stencilOp ? Pair(steps, Stencil(GL_BACK, GL_KEEP, GL_KEEP, GL_DECR),
                                    Stencil(GL_FRONT, GL_KEEP, GL_KEEP, GL_INCR))
                             : Pair(steps, Blend(GL_BACK, GL_FUNC_REVERSE_SUBTRACT),
                                    Blend(GL_FRONT, GL_FUNC_ADD));
        case 2:
            return Pair(steps, Stencil(GL_FRONT, GL_KEEP, GL_INCR_WRAP, GL_KEEP),
                        Stencil(GL_BACK, GL_KEEP, GL_DECR_WRAP, GL_KEEP));
        default:
            return stencilOp ? Pair(steps, Stencil(GL_FRONT, GL_KEEP, GL_DECR, GL_KEEP),
                                    Stencil(GL_BACK, GL_KEEP, GL_INCR, GL_KEEP))
                             : Pair(steps, Blend(GL_FRONT, GL_FUNC_REVERSE_SUBTRACT),
                                    Blend(GL_BACK, GL_FUNC_ADD));
        }
    case Caps:
        if (mode == 2)
            return Pair(steps, Stencil(GL_FRONT, GL_KEEP, GL_INCR_WRAP, GL_KEEP),
                        Stencil(GL_BACK, GL_KEEP, GL_DECR_WRAP, GL_KEEP));
        return stencilOp ? Pair(steps, Stencil(GL_FRONT, GL_KEEP, GL_DECR, GL_KEEP),
                                Stencil(GL_BACK, GL_KEEP, GL_INCR, GL_KEEP))
                         : Pair(steps, Blend(GL_FRONT, GL_FUNC_REVERSE_SUBTRACT),
                                Blend(GL_BACK, GL_FUNC_ADD));
    case CapsReversed:
        switch (mode) {
        case 0:
        case 1:
            return 1;
        case 2:
            return Pair(steps, Stencil(GL_FRONT, GL_KEEP, GL_DECR_WRAP, GL_KEEP),
                        Stencil(GL_BACK, GL_KEEP, GL_INCR_WRAP, GL_KEEP));
        default:
            return stencilOp ? Pair(steps, Stencil(GL_FRONT, GL_KEEP, GL_INCR, GL_KEEP),
                                    Stencil(GL_BACK, GL_KEEP, GL_DECR, GL_KEEP))
                             : Pair(steps, Blend(GL_FRONT, GL_FUNC_ADD),
                                    Blend(GL_BACK, GL_FUNC_REVERSE_SUBTRACT));
        }
    }
    return 1;
}

} // namespace Korvo
