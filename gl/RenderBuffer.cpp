#include "gl/RenderBuffer.h"

#include "gl/ErrorCheck.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"

namespace GL {

RenderBuffer::RenderBuffer(GLenum internalFormat, int width, int height, int samples)
{
    if (!Extensions->GL_EXT_framebuffer_object)
        throw Sys::Exception("Extension GL_EXT_framebuffer_object unsupported.");
    if (samples > 0 && !Extensions->GL_EXT_framebuffer_multisample)
        throw Sys::Exception("Extension GL_EXT_framebuffer_multisample unsupported.");
    DrainErrors();
    glGenRenderbuffersEXT(1, &handle);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, handle);
    if (samples > 0)
        glRenderbufferStorageMultisampleEXT(GL_RENDERBUFFER_EXT, samples, internalFormat, width,
                                            height);
    else
        glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, internalFormat, width, height);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
        glDeleteRenderbuffersEXT(1, &handle);
        handle = 0;
        Exception::Throw(*this, error, "Failed to create renderbuffer object.");
    }
}

RenderBuffer::~RenderBuffer()
{
    if (handle != 0)
        glDeleteRenderbuffersEXT(1, &handle);
}

} // namespace GL
