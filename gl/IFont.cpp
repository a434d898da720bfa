#include "gl/IFont.h"

#include "gl/ErrorCheck.h"
#include "gl/Exception.h"

namespace GL {

IFont::IFont()
{
    DrainErrors();
    listBase = glGenLists(Glyphs);
    const GLenum error = glGetError();
    if (listBase == 0 || error != GL_NO_ERROR) {
        if (error != GL_NO_ERROR)
            Exception::Throw(*this, error, "Failed to generate display lists.");
        throw Sys::Exception(*this, "Failed to generate display lists.");
    }
}

IFont::~IFont()
{
    if (listBase != 0)
        glDeleteLists(listBase, Glyphs);
}

} // namespace GL
