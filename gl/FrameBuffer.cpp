#include "gl/FrameBuffer.h"

#include "app/DeveloperException.h"
#include "gl/ExtensionRegistry.h"
#include "gl/ITexture.h"
#include "gl/PBuffer.h"
#include "gl/Texture2D.h"
#include "gl/TextureRectangle.h"

namespace GL {

FrameBuffer::FrameBuffer(Sys::Ptr<IContext> context, int width, int height)
    : IFrameBuffer(width, height), context(context)
{
    if (!context || !context->IsWindow())
        throw Sys::DeveloperException(
            Sys::DeveloperException::ERR_INVALID_PARAMETER,
            "Invalid <Context> parameter. Should be windowed rendering context.");
    SetDefaultDrawBuffer();
}

FrameBuffer::FrameBuffer(Sys::Ptr<IContext> pbuffer) : IFrameBuffer(0, 0), context(pbuffer)
{
    if (!pbuffer || pbuffer->IsWindow())
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_PARAMETER,
                                      "Invalid <Context> parameter. Should be offscreen p-buffer.");
    if (const auto* offscreen = dynamic_cast<const PBuffer*>(pbuffer.Get())) {
        Platform::wglQueryPbufferARB(offscreen->GetPBuffer(), Platform::WGL_PBUFFER_WIDTH_ARB,
                                     &width);
        Platform::wglQueryPbufferARB(offscreen->GetPBuffer(), Platform::WGL_PBUFFER_HEIGHT_ARB,
                                     &height);
    } else {
        // Another off-screen context: its drawable's size is its initial viewport.
        const Platform::HDC previousDC = Platform::wglGetCurrentDC();
        const Platform::HGLRC previousRC = Platform::wglGetCurrentContext();
        const bool switchContext = previousRC != pbuffer->GetRC();
        if (switchContext && !pbuffer->MakeCurrent())
            throw Sys::Exception(*this, "Failed to make rendering context current.");
        GLint viewport[4] = {0, 0, 0, 0};
        glGetIntegerv(GL_VIEWPORT, viewport);
        width = viewport[2];
        height = viewport[3];
        if (switchContext && previousRC != nullptr)
            Platform::wglMakeCurrent(previousDC, previousRC);
    }
    SetDefaultDrawBuffer();
}

void FrameBuffer::SetDefaultDrawBuffer()
{
    drawBuffers.insert(context->GetRequestedDesc().DoubleBuffer ? GL_BACK : GL_FRONT);
}

void FrameBuffer::Attach(GLenum buffer, Sys::Ptr<const ITexture> texture)
{
    if (buffer != GL_FRONT && buffer != GL_BACK && (buffer < GL_AUX0 || buffer > GL_AUX3))
        throw Sys::DeveloperException("Invalid <Attachment> parameter.");
    if (texture) {
        textures[buffer] = texture;
        drawBuffers.insert(buffer);
    } else {
        textures.erase(buffer);
    }
}

void FrameBuffer::AttachTexture1D(GLenum attachment, Sys::Ptr<const ITexture> texture)
{
    Attach(attachment, texture);
}

void FrameBuffer::AttachTexture2D(GLenum attachment, Sys::Ptr<const Texture2D> texture)
{
    Attach(attachment, texture);
}

void FrameBuffer::AttachTextureRectangle(GLenum attachment,
                                         Sys::Ptr<const TextureRectangle> texture)
{
    Attach(attachment, texture);
}

void FrameBuffer::UpdateTextures()
{
    for (const auto& entry : textures) {
        const ITexture& texture = *entry.second;
        const GLenum target = texture.GetTarget();
        if (target != GL_TEXTURE_2D && target != GL_TEXTURE_RECTANGLE_ARB)
            throw Sys::DeveloperException("Invalid <Texture> parameter. Texture target must "
                                          "GL_TEXTURE_2D or GL_TEXTURE_RECTANGLE.");
        glReadBuffer(entry.first);
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(target, texture.GetHandle());
        glCopyTexSubImage2D(target, 0, 0, 0, 0, 0, width, height);
    }
}

void FrameBuffer::SwapBuffers()
{
    context->SwapBuffers();
}

void FrameBuffer::Bind()
{
    if (Extensions && Extensions->GL_EXT_framebuffer_object) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        if (Extensions->GL_EXT_framebuffer_blit) {
            glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, 0);
            glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, 0);
        }
    }
    if (!context->MakeCurrent())
        throw Sys::Exception(*this, "Failed to make rendering context current.");
    bound = true;
}

} // namespace GL
