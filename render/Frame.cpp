#include "render/Frame.h"

#include "app/Exception.h"
#include "config/CVars.h"
#include "gl/ExtensionRegistry.h"
#include "gl/FrameBuffer.h"
#include "gl/FrameBufferObject.h"
#include "gl/PBuffer.h"
#include "gl/RenderBuffer.h"
#include "render/FramePath.h"
#include "render/FrameTargets.h"

namespace Korvo {

Frame::Frame(int width, int height, int samples) : IFrame(width, height, samples)
{
    FramePath::Offer offer;
    offer.FramebufferObject = GL::Extensions->GL_EXT_framebuffer_object;
    offer.PackedDepthStencil = GL::Extensions->GL_EXT_packed_depth_stencil;
    offer.FramebufferMultisample = GL::Extensions->GL_EXT_framebuffer_multisample;
    offer.FramebufferBlit = GL::Extensions->GL_EXT_framebuffer_blit;
    FramebufferObjects = FramePath::UseFramebufferObjects(r_GL_FramebufferObject.value, offer,
                                                          samples);
    if (FramebufferObjects) {
        Print("FBO codepath selected.\n");
        try {
            BuildFramebufferObjects();
            return;
        } catch (const Sys::Exception&) {
            // The exception has logged itself; the P-buffer path still gives a picture.
            Print("Failed! Switching to P-buffer codepath.\n");
            FrameBuffers[0] = nullptr;
            FrameBuffers[1] = nullptr;
            ColorTexture = nullptr;
            FramebufferObjects = false;
        }
    } else {
        Print("P-buffer codepath selected.\n");
    }
    BuildPBuffer();
}

Frame::~Frame() = default;

void Frame::BuildFramebufferObjects()
{
    ColorTexture = MakeTargetTexture(GL_RGBA8, Width, Height);
    Sys::Ptr<const GL::RenderBuffer> depthStencil(
        new GL::RenderBuffer(GL_DEPTH24_STENCIL8_EXT, Width, Height, Samples));

    Sys::Ptr<GL::FrameBufferObject> target(new GL::FrameBufferObject(Width, Height));
    if (Samples > 0) {
        // Draw multisampled, resolve into the texture at the end of the frame.
        Sys::Ptr<const GL::RenderBuffer> colour(
            new GL::RenderBuffer(GL_RGBA8, Width, Height, Samples));
        target->AttachRenderBuffer(GL_COLOR_ATTACHMENT0_EXT, colour);
        Sys::Ptr<GL::FrameBufferObject> resolve(new GL::FrameBufferObject(Width, Height));
        resolve->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, ColorTexture);
        resolve->CheckStatus();
        FrameBuffers[1] = resolve;
    } else {
        target->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, ColorTexture);
    }
    target->AttachRenderBuffer(GL_DEPTH_ATTACHMENT_EXT, depthStencil);
    target->AttachRenderBuffer(GL_STENCIL_ATTACHMENT_EXT, depthStencil);
    target->CheckStatus();
    FrameBuffers[0] = target;
}

void Frame::BuildPBuffer()
{
    GL::PixelFormatDesc desc;
    desc.DoubleBuffer = r_GL_EarlyTricks.value;
    desc.Stereo = false;
    desc.PixelType = 1;
    desc.ColorBits = 32;
    desc.RedBits = 8;
    desc.GreenBits = 8;
    desc.BlueBits = 8;
    desc.AlphaBits = 0;
    desc.DepthBits = 24;
    desc.StencilBits = 8;
    desc.AuxBuffers = 0;
    desc.SampleBuffers = 1;
    desc.Samples = Samples;
    Sys::Ptr<GL::IContext> pbuffer(new GL::PBuffer(desc, Width, Height));
    // The P-buffer's size is read from its fresh viewport, before anything draws.
    Sys::Ptr<GL::FrameBuffer> target(new GL::FrameBuffer(pbuffer));
    ColorTexture = MakeTargetTexture(GL_RGBA8, Width, Height);
    target->AttachTextureRectangle(r_GL_EarlyTricks.value ? GL_BACK : GL_FRONT, ColorTexture);
    FrameBuffers[0] = target;
}

} // namespace Korvo
