#pragma once

#include "app/Ptr.h"
#include "gl/IObject.h"

#include <GL/glew.h>

#include <set>

namespace GL {

class ITexture;
class Texture2D;
class TextureRectangle;

// A render target the render device binds: the window's back buffer, a P-buffer or a
// framebuffer object. The renderer draws the same way into each.
class IFrameBuffer : public IObject {
public:
    enum Kind { KIND_WINDOW = 0, KIND_PBUFFER = 1, KIND_FBO = 2 };

    ~IFrameBuffer() override = default;

    virtual int GetKind() const = 0;
    virtual void AttachTexture1D(GLenum attachment, Sys::Ptr<const ITexture> texture) = 0;
    virtual void AttachTexture2D(GLenum attachment, Sys::Ptr<const Texture2D> texture) = 0;
    virtual void AttachTextureRectangle(GLenum attachment,
                                        Sys::Ptr<const TextureRectangle> texture) = 0;
    virtual void AttachTexture3D(GLenum attachment, Sys::Ptr<const ITexture> texture,
                                 int slice) = 0;
    // Kept for interface compatibility; no kind of framebuffer does anything with it.
    virtual void AttachTexture(Sys::Ptr<const ITexture> texture) = 0;
    virtual void CheckStatus() = 0;
    virtual void UpdateTextures() = 0;
    virtual void SwapBuffers() = 0;
    virtual void Bind() = 0;
    virtual void Unbind() = 0;

    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    const std::set<GLenum>& GetDrawBuffers() const { return drawBuffers; }
    bool IsBound() const { return bound; }

protected:
    IFrameBuffer(int width, int height) : width(width), height(height) {}

    int width;
    int height;
    std::set<GLenum> drawBuffers;
    bool bound = false;
};

} // namespace GL
