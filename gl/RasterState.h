#pragma once

#include <GL/glew.h>

namespace GL {

// The stencil test and operations of one face.
struct StencilFace {
    GLenum Func = GL_ALWAYS;
    GLint Ref = 0;
    GLuint Mask = ~0u;
    GLenum Fail = GL_KEEP;
    GLenum DepthFail = GL_KEEP;
    GLenum DepthPass = GL_KEEP;

    bool operator==(const StencilFace& o) const
    {
        return Func == o.Func && Ref == o.Ref && Mask == o.Mask && Fail == o.Fail &&
               DepthFail == o.DepthFail && DepthPass == o.DepthPass;
    }
    bool operator!=(const StencilFace& o) const { return !(*this == o); }
};

// The fixed state one draw depends on: depth, colour writes, stencil, culling and blending.
// A default-constructed block is GL's own initial state; the setters return a changed copy,
// so that a pass reads as a list of blocks built from the default or from one another:
//
//     const RasterState lit = RasterState().DepthEqual().NoDepthWrite().Additive();
//
// The render device applies a block with SetRasterState, issuing only what differs from
// the block it applied last.
struct RasterState {
    bool DepthTest = false;
    GLenum DepthFunc = GL_LESS;
    bool DepthWrite = true;
    bool DepthClamp = false;
    // Fragments over stored depths outside [DepthBoundsMin, DepthBoundsMax] are dropped
    // (GL_EXT_depth_bounds_test).
    bool DepthBounds = false;
    float DepthBoundsMin = 0.0f;
    float DepthBoundsMax = 1.0f;
    // Geometry nearer the eye than this depth (along the view axis, in eye space) is clipped
    // away by user clip plane 0, so the vertex programs drawn with it write gl_ClipVertex in
    // eye space. 0: nothing is clipped.
    float NearCut = 0.0f;
    bool ColorWrite[4] = {true, true, true, true};
    bool StencilTest = false;
    StencilFace Front;
    StencilFace Back;
    GLuint StencilWriteMask = ~0u;
    bool Cull = false;
    GLenum CullFace = GL_BACK;
    bool Blend = false;
    GLenum BlendEquation = GL_FUNC_ADD;
    GLenum BlendSrc = GL_ONE;
    GLenum BlendDst = GL_ZERO;

    bool operator==(const RasterState& o) const
    {
        return DepthTest == o.DepthTest && DepthFunc == o.DepthFunc &&
               DepthWrite == o.DepthWrite && DepthClamp == o.DepthClamp &&
               DepthBounds == o.DepthBounds && DepthBoundsMin == o.DepthBoundsMin &&
               DepthBoundsMax == o.DepthBoundsMax && NearCut == o.NearCut &&
               ColorWrite[0] == o.ColorWrite[0] && ColorWrite[1] == o.ColorWrite[1] &&
               ColorWrite[2] == o.ColorWrite[2] && ColorWrite[3] == o.ColorWrite[3] &&
               StencilTest == o.StencilTest && Front == o.Front && Back == o.Back &&
               StencilWriteMask == o.StencilWriteMask && Cull == o.Cull &&
               CullFace == o.CullFace && Blend == o.Blend && BlendEquation == o.BlendEquation &&
               BlendSrc == o.BlendSrc && BlendDst == o.BlendDst;
    }
    bool operator!=(const RasterState& o) const { return !(*this == o); }

    // Depth test with the given function (GL_NEVER ... GL_ALWAYS); Depth(false) turns it off.
    RasterState Depth(GLenum func) const
    {
        RasterState s = *this;
        s.DepthTest = true;
        s.DepthFunc = func;
        return s;
    }
    RasterState NoDepthTest() const
    {
        RasterState s = *this;
        s.DepthTest = false;
        return s;
    }
    RasterState DepthEqual() const { return Depth(GL_EQUAL); }
    RasterState NoDepthWrite() const
    {
        RasterState s = *this;
        s.DepthWrite = false;
        return s;
    }
    RasterState Clamped(bool on) const
    {
        RasterState s = *this;
        s.DepthClamp = on;
        return s;
    }
    // Only where the stored depth lies within [nearest, farthest].
    RasterState DepthBoundsTest(float nearest, float farthest) const
    {
        RasterState s = *this;
        s.DepthBounds = true;
        s.DepthBoundsMin = nearest;
        s.DepthBoundsMax = farthest;
        return s;
    }
    // Only what lies at least `depth` in front of the eye.
    RasterState CutNearerThan(float depth) const
    {
        RasterState s = *this;
        s.NearCut = depth;
        return s;
    }
    RasterState Colors(bool r, bool g, bool b, bool a) const
    {
        RasterState s = *this;
        s.ColorWrite[0] = r;
        s.ColorWrite[1] = g;
        s.ColorWrite[2] = b;
        s.ColorWrite[3] = a;
        return s;
    }
    RasterState NoColor() const { return Colors(false, false, false, false); }
    RasterState AlphaOnly() const { return Colors(false, false, false, true); }

    // Stencil test with the same function on both faces.
    RasterState StencilFunc(GLenum func, GLint ref, GLuint mask = ~0u) const
    {
        RasterState s = *this;
        s.StencilTest = true;
        s.Front.Func = s.Back.Func = func;
        s.Front.Ref = s.Back.Ref = ref;
        s.Front.Mask = s.Back.Mask = mask;
        return s;
    }
    RasterState NoStencilTest() const
    {
        RasterState s = *this;
        s.StencilTest = false;
        return s;
    }
    // The same operations on both faces.
    RasterState StencilOp(GLenum fail, GLenum depthFail, GLenum depthPass) const
    {
        return StencilOps(fail, depthFail, depthPass, fail, depthFail, depthPass);
    }
    RasterState StencilOps(GLenum frontFail, GLenum frontDepthFail, GLenum frontDepthPass,
                           GLenum backFail, GLenum backDepthFail, GLenum backDepthPass) const
    {
        RasterState s = *this;
        s.Front.Fail = frontFail;
        s.Front.DepthFail = frontDepthFail;
        s.Front.DepthPass = frontDepthPass;
        s.Back.Fail = backFail;
        s.Back.DepthFail = backDepthFail;
        s.Back.DepthPass = backDepthPass;
        return s;
    }
    RasterState StencilWrite(GLuint mask) const
    {
        RasterState s = *this;
        s.StencilWriteMask = mask;
        return s;
    }

    // Culls the given faces (GL_BACK, GL_FRONT); NoCull draws both.
    RasterState Culling(GLenum face) const
    {
        RasterState s = *this;
        s.Cull = true;
        s.CullFace = face;
        return s;
    }
    RasterState NoCull() const
    {
        RasterState s = *this;
        s.Cull = false;
        return s;
    }

    RasterState Blending(GLenum src, GLenum dst, GLenum equation = GL_FUNC_ADD) const
    {
        RasterState s = *this;
        s.Blend = true;
        s.BlendSrc = src;
        s.BlendDst = dst;
        s.BlendEquation = equation;
        return s;
    }
    RasterState Additive() const { return Blending(GL_ONE, GL_ONE); }
    RasterState AlphaBlended() const { return Blending(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); }
    RasterState Equation(GLenum equation) const
    {
        RasterState s = *this;
        s.BlendEquation = equation;
        return s;
    }
    RasterState NoBlend() const
    {
        RasterState s = *this;
        s.Blend = false;
        return s;
    }
};

} // namespace GL
