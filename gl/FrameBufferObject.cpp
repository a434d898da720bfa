#include "gl/FrameBufferObject.h"

#include "app/DeveloperException.h"
#include "gl/ErrorCheck.h"
#include "gl/Exception.h"
#include "gl/ExtensionRegistry.h"
#include "gl/ITexture.h"
#include "gl/Texture2D.h"
#include "gl/TextureRectangle.h"

namespace GL {

FrameBufferObject::FrameBufferObject(int width, int height, GLenum target)
    : IFrameBuffer(width, height), target(target)
{
    if (!Extensions->GL_EXT_framebuffer_object)
        throw Sys::Exception("Extension GL_EXT_framebuffer_object unsupported.");
    if ((target == GL_READ_FRAMEBUFFER_EXT || target == GL_DRAW_FRAMEBUFFER_EXT) &&
        !Extensions->GL_EXT_framebuffer_blit)
        throw Sys::Exception("Extension GL_EXT_framebuffer_blit unsupported.");
    if (target != GL_FRAMEBUFFER_EXT && target != GL_READ_FRAMEBUFFER_EXT &&
        target != GL_DRAW_FRAMEBUFFER_EXT)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_ENUM,
                                      "Invalid <Target> parameter.");
    DrainErrors();
    glGenFramebuffersEXT(1, &handle);
    glBindFramebufferEXT(target, handle);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        glBindFramebufferEXT(target, 0);
        glDeleteFramebuffersEXT(1, &handle);
        handle = 0;
        Exception::Throw(*this, error, "Failed to create framebuffer object.");
    }
}

FrameBufferObject::~FrameBufferObject()
{
    if (handle != 0)
        glDeleteFramebuffersEXT(1, &handle);
}

int FrameBufferObject::SlotOf(GLenum attachment)
{
    if (attachment >= GL_COLOR_ATTACHMENT0_EXT && attachment <= GL_COLOR_ATTACHMENT15_EXT)
        return static_cast<int>(attachment - GL_COLOR_ATTACHMENT0_EXT);
    if (attachment == GL_DEPTH_ATTACHMENT_EXT)
        return 16;
    if (attachment == GL_STENCIL_ATTACHMENT_EXT)
        return 17;
    return -1;
}

void FrameBufferObject::CheckTextureAttachment(GLenum attachment) const
{
    if (attachment < GL_COLOR_ATTACHMENT0_EXT || attachment > GL_DEPTH_ATTACHMENT_EXT)
        throw Sys::DeveloperException("Invalid <Attachment> parameter.");
}

void FrameBufferObject::Attached(GLenum attachment, bool attached)
{
    if (attachment >= GL_COLOR_ATTACHMENT0_EXT && attachment < 0x8CF0) {
        if (attached)
            drawBuffers.insert(attachment);
        else
            drawBuffers.erase(attachment);
    }
}

template <class Attach>
void FrameBufferObject::AttachTextureWith(GLenum attachment, Sys::Ptr<const ITexture> texture,
                                          const char* kind, Attach attach)
{
    CheckTextureAttachment(attachment);
    DrainErrors();
    glBindFramebufferEXT(target, handle);
    attach(texture ? texture->GetHandle() : 0);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        if (texture)
            Exception::Throw(*this, error, "Failed to attach %s to framebuffer.", kind);
        Exception::Throw(*this, error, "Failed to detach %s from framebuffer.", kind);
    }
    Attached(attachment, static_cast<bool>(texture));
    const int slot = SlotOf(attachment);
    if (slot >= 0)
        textures[slot] = texture;
}

void FrameBufferObject::AttachTexture1D(GLenum attachment, Sys::Ptr<const ITexture> texture)
{
    AttachTextureWith(attachment, texture, "1D texture", [&](GLuint name) {
        glFramebufferTexture1DEXT(target, attachment, GL_TEXTURE_1D, name, 0);
    });
}

void FrameBufferObject::AttachTexture2D(GLenum attachment, Sys::Ptr<const Texture2D> texture)
{
    AttachTextureWith(attachment, texture, "2D texture", [&](GLuint name) {
        glFramebufferTexture2DEXT(target, attachment, GL_TEXTURE_2D, name, 0);
    });
}

void FrameBufferObject::AttachTextureRectangle(GLenum attachment,
                                               Sys::Ptr<const TextureRectangle> texture)
{
    AttachTextureWith(attachment, texture, "rectangle texture", [&](GLuint name) {
        glFramebufferTexture2DEXT(target, attachment, GL_TEXTURE_RECTANGLE_ARB, name, 0);
    });
}

void FrameBufferObject::AttachTexture3D(GLenum attachment, Sys::Ptr<const ITexture> texture,
                                        int slice)
{
    AttachTextureWith(attachment, texture, "3D texture", [&](GLuint name) {
        glFramebufferTexture3DEXT(target, attachment, GL_TEXTURE_3D, name, 0, slice);
    });
}

void FrameBufferObject::AttachRenderBuffer(GLenum attachment,
                                           Sys::Ptr<const RenderBuffer> renderBuffer)
{
    if (attachment < GL_COLOR_ATTACHMENT0_EXT || attachment > GL_STENCIL_ATTACHMENT_EXT)
        throw Sys::DeveloperException("Invalid <Attachment> parameter.");
    DrainErrors();
    glBindFramebufferEXT(target, handle);
    glFramebufferRenderbufferEXT(target, attachment, GL_RENDERBUFFER_EXT,
                                 renderBuffer ? renderBuffer->GetHandle() : 0);
    const GLenum error = glGetError();
    if (error != GL_NO_ERROR) {
        if (renderBuffer)
            Exception::Throw(*this, error, "Failed to attach renderbuffer to framebuffer.");
        Exception::Throw(*this, error, "Failed to detach renderbuffer from framebuffer.");
    }
    Attached(attachment, static_cast<bool>(renderBuffer));
    const int slot = SlotOf(attachment);
    if (slot >= 0)
        renderBuffers[slot] = renderBuffer;
}

void FrameBufferObject::CheckStatus()
{
    GLint current = 0;
    glGetIntegerv(target == GL_READ_FRAMEBUFFER_EXT ? GL_READ_FRAMEBUFFER_BINDING_EXT
                                                    : GL_FRAMEBUFFER_BINDING_EXT,
                  &current);
    if (static_cast<GLuint>(current) != handle)
        throw Sys::DeveloperException("Invalid ::CheckStatus() call. Framebuffer should be current.");
    if (drawBuffers.empty()) {
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    }
    switch (glCheckFramebufferStatusEXT(target)) {
    case GL_FRAMEBUFFER_COMPLETE_EXT: return;
    case 0x8CD6: throw Sys::Exception("Framebuffer incomplete attachment.");
    case 0x8CD7: throw Sys::Exception("Framebuffer incomplete missing attachment.");
    case 0x8CD9: throw Sys::Exception("Framebuffer incomplete dimensions.");
    case 0x8CDA: throw Sys::Exception("Framebuffer incomplete formats.");
    case 0x8CDB: throw Sys::Exception("Framebuffer incomplete draw buffer.");
    case 0x8CDC: throw Sys::Exception("Framebuffer incomplete read buffer.");
    case 0x8CDD: throw Sys::Exception("Framebuffer unsupported.");
    case 0x8D56: throw Sys::Exception("Framebuffer incomplete multisample.");
    default: throw Sys::Exception("Unsupported or incomplete framebuffer object. Unknown status.");
    }
}

void FrameBufferObject::Bind()
{
    glBindFramebufferEXT(target, handle);
    bound = true;
}

} // namespace GL
