#pragma once

#include "app/Exception.h"

#include <GL/glew.h>

namespace GL {

// Turns an OpenGL error value into a Sys::Exception whose text names the failing class,
// the error and what was being done. The helpers never return.
class Exception : public Sys::Exception {
public:
    // "<class>\n\n<error name>\n<message>"
    [[noreturn]] static void Throw(const Sys::IRTTIObject& who, GLenum error, const char* format,
                                   ...) __attribute__((format(printf, 3, 4)));
    // Textures have no class-name query: "<error name>\n<message>"
    [[noreturn]] static void Throw(GLenum error, const char* format, ...)
        __attribute__((format(printf, 2, 3)));

    // "GL_INVALID_ENUM" ... "GLU_OUT_OF_MEMORY"; "" for values without a name.
    static const char* GetErrorName(GLenum error);
};

} // namespace GL
