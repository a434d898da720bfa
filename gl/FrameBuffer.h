#pragma once

#include "gl/IContext.h"
#include "gl/IFrameBuffer.h"

#include <map>

namespace GL {

// The colour buffers of a context, the window's or a P-buffer's. Binding makes the
// context current; textures attached to a colour buffer receive a copy of it when
// UpdateTextures() is called.
class FrameBuffer : public IFrameBuffer {
public:
    // The window form: `context` must be a window context.
    FrameBuffer(Sys::Ptr<IContext> context, int width, int height);
    // The P-buffer form: the size is the P-buffer's own.
    explicit FrameBuffer(Sys::Ptr<IContext> pbuffer);
    ~FrameBuffer() override = default;

    std::string GetTypeName() const override { return "GL::FrameBuffer"; }

    int GetKind() const override { return context->IsWindow() ? KIND_WINDOW : KIND_PBUFFER; }
    void AttachTexture1D(GLenum attachment, Sys::Ptr<const ITexture> texture) override;
    void AttachTexture2D(GLenum attachment, Sys::Ptr<const Texture2D> texture) override;
    void AttachTextureRectangle(GLenum attachment,
                                Sys::Ptr<const TextureRectangle> texture) override;
    void AttachTexture3D(GLenum, Sys::Ptr<const ITexture>, int) override {}
    void AttachTexture(Sys::Ptr<const ITexture>) override {}
    void CheckStatus() override {}
    void UpdateTextures() override;
    void SwapBuffers() override;
    void Bind() override;
    void Unbind() override { bound = false; }

    const Sys::Ptr<IContext>& GetContext() const { return context; }

private:
    void Attach(GLenum buffer, Sys::Ptr<const ITexture> texture);
    void SetDefaultDrawBuffer();

    Sys::Ptr<IContext> context;
    std::map<GLenum, Sys::Ptr<const ITexture>> textures;
};

} // namespace GL
