#pragma once

#include "app/Ptr.h"
#include "render/IFrame.h"

namespace GL {
class IContext;
class IFrameBuffer;
class PixelBuffer;
class RenderBuffer;
class TextureRectangle;
}

namespace Korvo {

// The soft-shadow renderer's frame set: seven targets, framebuffer i drawing into
// texture i.
//   0  full-size depth pre-pass (framebuffer-object path)
//   1  shadow-size depth pre-pass (when downsampling)
//   2  wedge coverage, signed, float
//   3  world position of every pixel, float
//   4  the hard count moved into alpha
//   5  the light's shadow value in alpha
//   6  the visible picture
// On the framebuffer-object path all of them are framebuffer objects of the window's
// context; the full-size ones share one depth-stencil buffer and the shadow-size ones
// another (the same one when not downsampling), so a depth pre-pass into 0 or 1 serves
// every later pass. On the P-buffer path 2 to 6 are P-buffers with contexts of their own,
// 2 and 3 with floating-point pixels.
class FrameEx : public IFrame {
public:
    static constexpr int TargetCount = 7;

    FrameEx(int width, int height, int samples);
    ~FrameEx() override;

    std::string GetTypeName() const override { return "Korvo::FrameEx"; }

    int GetShadowWidth() const { return ShadowWidth; }
    int GetShadowHeight() const { return ShadowHeight; }
    Sys::Ptr<GL::IFrameBuffer> GetFrameBuffer(int index) const { return FrameBuffers[index]; }
    Sys::Ptr<GL::TextureRectangle> GetTexture(int index) const { return Textures[index]; }
    // Empty unless the stencil count has to travel through a pixel buffer.
    Sys::Ptr<GL::PixelBuffer> GetPixelBuffer() const { return PixelBuffer; }

private:
    void BuildFramebufferObjects();
    void BuildPBuffers();
    void AddFramebufferObject(int index, unsigned internalFormat, bool shadowSize,
                              Sys::Ptr<const GL::RenderBuffer> depthStencil);
    void AddPBuffer(int index, bool floating, bool shadowSize, bool stencil);

    int ShadowWidth;
    int ShadowHeight;
    Sys::Ptr<GL::IFrameBuffer> FrameBuffers[TargetCount];
    Sys::Ptr<GL::TextureRectangle> Textures[TargetCount];
    Sys::Ptr<GL::PixelBuffer> PixelBuffer;
};

} // namespace Korvo
