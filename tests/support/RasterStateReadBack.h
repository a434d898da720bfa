#pragma once

#include "gl/RasterState.h"

#include <GL/glew.h>

#include <ostream>

namespace GL {

// Failure messages name every field.
inline void PrintTo(const RasterState& s, std::ostream* out)
{
    auto face = [out](const StencilFace& f) {
        *out << std::hex << "{0x" << f.Func << " " << f.Ref << " 0x" << f.Mask << " 0x"
             << f.Fail << " 0x" << f.DepthFail << " 0x" << f.DepthPass << "}" << std::dec;
    };
    *out << std::hex << "depth " << s.DepthTest << " 0x" << s.DepthFunc << " write "
         << s.DepthWrite << " clamp " << s.DepthClamp << " colour " << s.ColorWrite[0]
         << s.ColorWrite[1] << s.ColorWrite[2] << s.ColorWrite[3] << " stencil "
         << s.StencilTest << " front ";
    face(s.Front);
    *out << " back ";
    face(s.Back);
    *out << std::hex << " write 0x" << s.StencilWriteMask << " cull " << s.Cull << " 0x"
         << s.CullFace << " blend " << s.Blend << " 0x" << s.BlendEquation << " 0x"
         << s.BlendSrc << " 0x" << s.BlendDst << std::dec << " near cut " << s.NearCut;
}

} // namespace GL

// The raster state GL reports now, field by field (depth clamp only where the driver has
// it), to compare with the block the device was given.
inline GL::RasterState RasterStateReadBack()
{
    auto integer = [](GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    };
    // An all-ones mask comes back as the largest integer, or cut to the stencil buffer's
    // bits where one is bound.
    const GLint bits = integer(GL_STENCIL_BITS);
    const GLuint stencilOnes = bits > 0 && bits < 32 ? (1u << bits) - 1 : ~0u;
    auto mask = [&](GLenum name) {
        const GLint value = integer(name);
        if (value == 0x7fffffff || static_cast<GLuint>(value) == stencilOnes)
            return ~0u;
        return static_cast<GLuint>(value);
    };
    auto face = [&](GLenum func, GLenum ref, GLenum valueMask, GLenum fail, GLenum depthFail,
                    GLenum depthPass) {
        GL::StencilFace f;
        f.Func = static_cast<GLenum>(integer(func));
        f.Ref = integer(ref);
        f.Mask = mask(valueMask);
        f.Fail = static_cast<GLenum>(integer(fail));
        f.DepthFail = static_cast<GLenum>(integer(depthFail));
        f.DepthPass = static_cast<GLenum>(integer(depthPass));
        return f;
    };
    GL::RasterState s;
    s.DepthTest = glIsEnabled(GL_DEPTH_TEST);
    s.DepthFunc = static_cast<GLenum>(integer(GL_DEPTH_FUNC));
    s.DepthWrite = integer(GL_DEPTH_WRITEMASK) != 0;
    s.DepthClamp = GLEW_NV_depth_clamp && glIsEnabled(GL_DEPTH_CLAMP_NV);
    GLint color[4] = {};
    glGetIntegerv(GL_COLOR_WRITEMASK, color);
    for (int i = 0; i < 4; ++i)
        s.ColorWrite[i] = color[i] != 0;
    s.StencilTest = glIsEnabled(GL_STENCIL_TEST);
    s.Front = face(GL_STENCIL_FUNC, GL_STENCIL_REF, GL_STENCIL_VALUE_MASK, GL_STENCIL_FAIL,
                   GL_STENCIL_PASS_DEPTH_FAIL, GL_STENCIL_PASS_DEPTH_PASS);
    s.Back = face(GL_STENCIL_BACK_FUNC, GL_STENCIL_BACK_REF, GL_STENCIL_BACK_VALUE_MASK,
                  GL_STENCIL_BACK_FAIL, GL_STENCIL_BACK_PASS_DEPTH_FAIL,
                  GL_STENCIL_BACK_PASS_DEPTH_PASS);
    s.StencilWriteMask = mask(GL_STENCIL_WRITEMASK);
    s.Cull = glIsEnabled(GL_CULL_FACE);
    s.CullFace = static_cast<GLenum>(integer(GL_CULL_FACE_MODE));
    s.Blend = glIsEnabled(GL_BLEND);
    s.BlendEquation = static_cast<GLenum>(integer(GL_BLEND_EQUATION_RGB));
    s.BlendSrc = static_cast<GLenum>(integer(GL_BLEND_SRC_RGB));
    s.BlendDst = static_cast<GLenum>(integer(GL_BLEND_DST_RGB));
    if (glIsEnabled(GL_CLIP_PLANE0)) {
        // Only the plane -z >= depth in eye space reads back as a cut.
        GLdouble plane[4] = {};
        glGetClipPlane(GL_CLIP_PLANE0, plane);
        s.NearCut = plane[0] == 0.0 && plane[1] == 0.0 && plane[2] == -1.0
                        ? static_cast<float>(-plane[3])
                        : -1.0f;
    }
    return s;
}
