#pragma once

#include "app/Ptr.h"
#include "render/IFrame.h"

namespace GL {
class IFrameBuffer;
class TextureRectangle;
}

namespace Korvo {

// The hard-shadow renderer's frame set: framebuffer 0 is what the passes draw into;
// framebuffer 1 receives the multisample resolve on the framebuffer-object path. The
// colour texture holds the finished picture.
class Frame : public IFrame {
public:
    Frame(int width, int height, int samples);
    ~Frame() override;

    std::string GetTypeName() const override { return "Korvo::Frame"; }

    Sys::Ptr<GL::IFrameBuffer> GetFrameBuffer(int index) const { return FrameBuffers[index]; }
    Sys::Ptr<GL::TextureRectangle> GetColorTexture() const { return ColorTexture; }

private:
    void BuildFramebufferObjects();
    void BuildPBuffer();

    Sys::Ptr<GL::IFrameBuffer> FrameBuffers[2];
    Sys::Ptr<GL::TextureRectangle> ColorTexture;
};

} // namespace Korvo
