#include "gl/ErrorCheck.h"

#include "config/CVars.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"

#include <GL/glew.h>

namespace GL {

void DrainErrors()
{
    // A lost context keeps reporting an error; the bound keeps this from spinning.
    for (int i = 0; i < 64 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

void CheckErrors(const Sys::IRTTIObject& who, const char* function)
{
    if (!r_GL_CatchErrors.value)
        return;
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(who, error,
                         "An OpenGL error has occured in ::%s().\nTry to set r_GL_CatchErrors to 0.",
                         function);
}

void CheckFloatMode(const Sys::IRTTIObject& who)
{
    if (!r_GL_CatchErrors.value)
        return;
    const bool arb = Extensions && Extensions->GL_ARB_color_buffer_float && Extensions->WGL &&
                     Extensions->WGL->WGL_ARB_pixel_format_float;
    const char* state = arb ? "GL_RGBA_FLOAT_MODE_ARB" : "GL_RGBA_FLOAT_MODE_ATI";
    DrainErrors();
    GLboolean floatMode = GL_FALSE;
    glGetBooleanv(0x8820, &floatMode);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(who, error,
                         "An OpenGL error has occured while query %s state variable. Try to set "
                         "r_GL_CatchErrors to 0.",
                         state);
    if (floatMode != GL_TRUE)
        throw Sys::Exception("Non-conformant OpenGL state detected.\nFor FP framebuffer %s state "
                             "variable should be GL_TRUE. Try to set r_GL_CatchErrors to 0.",
                             state);
}

} // namespace GL
