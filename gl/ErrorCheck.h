#pragma once

#include "app/IObject.h"

namespace GL {

// Reads the OpenGL error flag until it reports none. Done before every operation whose
// outcome is checked, so that an error found afterwards belongs to that operation.
void DrainErrors();

// The renderer's check at the end of each pass; does nothing while r_GL_CatchErrors is off.
void CheckErrors(const Sys::IRTTIObject& who, const char* function);

// Checks that the current framebuffer renders in floating point; does nothing while
// r_GL_CatchErrors is off.
void CheckFloatMode(const Sys::IRTTIObject& who);

} // namespace GL
