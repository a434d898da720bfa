#pragma once

#include "app/IObject.h"

#include <GL/glew.h>

#include <string>

namespace GL {

// Reads the information log of a shader (shader = true) or program object. A log that
// ends in a line break comes back without it.
std::string ReadInfoLog(const Sys::IRTTIObject& who, GLuint object, bool shader);

} // namespace GL
