#pragma once

#include "gl/IFrameBuffer.h"
#include "gl/RenderBuffer.h"

namespace GL {

// A framebuffer object rendering straight into the textures and renderbuffers attached
// to it. Colour attachments make up its draw-buffer list.
class FrameBufferObject : public IFrameBuffer {
public:
    static constexpr int AttachmentPoints = 18;

    FrameBufferObject(int width, int height, GLenum target = GL_FRAMEBUFFER_EXT);
    ~FrameBufferObject() override;

    std::string GetTypeName() const override { return "GL::FrameBufferObject"; }

    int GetKind() const override { return KIND_FBO; }
    void AttachTexture1D(GLenum attachment, Sys::Ptr<const ITexture> texture) override;
    void AttachTexture2D(GLenum attachment, Sys::Ptr<const Texture2D> texture) override;
    void AttachTextureRectangle(GLenum attachment,
                                Sys::Ptr<const TextureRectangle> texture) override;
    void AttachTexture3D(GLenum attachment, Sys::Ptr<const ITexture> texture,
                         int slice) override;
    void AttachTexture(Sys::Ptr<const ITexture>) override {}
    void CheckStatus() override;
    void UpdateTextures() override {}
    void SwapBuffers() override {}
    void Bind() override;
    void Unbind() override { bound = false; }

    void AttachRenderBuffer(GLenum attachment, Sys::Ptr<const RenderBuffer> renderBuffer);

    GLuint GetHandle() const { return handle; }
    GLenum GetTarget() const { return target; }

private:
    // Attachment points are GL_COLOR_ATTACHMENT0_EXT .. GL_DEPTH_ATTACHMENT_EXT for
    // textures, up to GL_STENCIL_ATTACHMENT_EXT for renderbuffers.
    static int SlotOf(GLenum attachment);
    void CheckTextureAttachment(GLenum attachment) const;
    void Attached(GLenum attachment, bool attached);
    template <class Attach>
    void AttachTextureWith(GLenum attachment, Sys::Ptr<const ITexture> texture,
                           const char* kind, Attach attach);

    GLuint handle = 0;
    GLenum target;
    Sys::Ptr<const ITexture> textures[AttachmentPoints];
    Sys::Ptr<const RenderBuffer> renderBuffers[AttachmentPoints];
};

} // namespace GL
