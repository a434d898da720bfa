#include "gl/ITexture.h"

#include "app/Exception.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"

namespace GL {

ITexture::ITexture(GLenum target) : target(target)
{
    glGenTextures(1, &handle);
    glBindTexture(target, handle);
}

ITexture::~ITexture()
{
    if (handle != 0)
        glDeleteTextures(1, &handle);
}

bool ITexture::IsFilter(GLenum value)
{
    switch (value) {
    case GL_NEAREST:
    case GL_LINEAR:
    case GL_NEAREST_MIPMAP_NEAREST:
    case GL_LINEAR_MIPMAP_NEAREST:
    case GL_NEAREST_MIPMAP_LINEAR:
    case GL_LINEAR_MIPMAP_LINEAR: return true;
    default: return false;
    }
}

bool ITexture::IsWrap(GLenum value)
{
    switch (value) {
    case GL_CLAMP:
    case GL_REPEAT:
    case GL_CLAMP_TO_EDGE:
    case GL_CLAMP_TO_BORDER:
    case GL_MIRRORED_REPEAT:
    case GL_MIRROR_CLAMP_EXT:
    case GL_MIRROR_CLAMP_TO_EDGE_EXT:
    case GL_MIRROR_CLAMP_TO_BORDER_EXT: return true;
    default: return false;
    }
}

void ITexture::SetFilter(GLenum mag, GLenum min) const
{
    if (!IsFilter(mag))
        throw Sys::Exception("Invalid <Mag> parameter.");
    if (!IsFilter(min))
        throw Sys::Exception("Invalid <Min> parameter.");
    DrainErrors();
    glBindTexture(target, handle);
    glTexParameteri(target, GL_TEXTURE_MAG_FILTER, static_cast<GLint>(mag));
    glTexParameteri(target, GL_TEXTURE_MIN_FILTER, static_cast<GLint>(min));
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(error, "Failed to set texture filter.");
}

void ITexture::SetWrap(GLenum s, GLenum t) const
{
    if (!IsWrap(s))
        throw Sys::Exception("Invalid <s> parameter.");
    if (!IsWrap(t))
        throw Sys::Exception("Invalid <t> parameter.");
    DrainErrors();
    glBindTexture(target, handle);
    glTexParameteri(target, GL_TEXTURE_WRAP_S, static_cast<GLint>(s));
    glTexParameteri(target, GL_TEXTURE_WRAP_T, static_cast<GLint>(t));
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR)
        Exception::Throw(error, "Failed to set wrap mode.");
}

} // namespace GL
