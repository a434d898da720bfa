#include "render/FrameEx.h"

#include "app/Exception.h"
#include "config/CVars.h"
#include "gl/ExtensionRegistry.h"
#include "gl/FrameBuffer.h"
#include "gl/FrameBufferObject.h"
#include "gl/PBuffer.h"
#include "gl/PixelBuffer.h"
#include "gl/RenderBuffer.h"
#include "render/FramePath.h"
#include "render/FrameTargets.h"

namespace Korvo {

FrameEx::FrameEx(int width, int height, int samples)
    : IFrame(width, height, samples),
      ShadowWidth(FramePath::ShadowSize(width, r_Shadow_Downsample.value)),
      ShadowHeight(FramePath::ShadowSize(height, r_Shadow_Downsample.value))
{
    FramePath::Offer offer;
    offer.FramebufferObject = GL::Extensions->GL_EXT_framebuffer_object;
    offer.PackedDepthStencil = GL::Extensions->GL_EXT_packed_depth_stencil;
    FramebufferObjects = FramePath::UseFramebufferObjectsEx(r_GL_FramebufferObject.value, offer);
    bool built = false;
    if (FramebufferObjects) {
        Print("FBO codepath selected.\n");
        try {
            BuildFramebufferObjects();
            built = true;
        } catch (const Sys::Exception&) {
            // The exception has logged itself; the P-buffer path still gives a picture.
            Print("Failed! Switching to P-buffer codepath.\n");
            for (int i = 0; i < TargetCount; ++i) {
                FrameBuffers[i] = nullptr;
                Textures[i] = nullptr;
            }
            FramebufferObjects = false;
        }
    } else {
        Print("P-buffer codepath selected.\n");
    }
    if (!built)
        BuildPBuffers();

    // Without a direct stencil-to-colour copy the count travels through a pixel buffer.
    if (r_Shadow_StencilOp.value && !GL::Extensions->GL_NV_copy_depth_to_color &&
        (GL::Extensions->GL_VERSION_2_1 || GL::Extensions->GL_ARB_pixel_buffer_object))
        PixelBuffer = Sys::Ptr<GL::PixelBuffer>(new GL::PixelBuffer(ShadowWidth * ShadowHeight));
}

FrameEx::~FrameEx() = default;

void FrameEx::AddFramebufferObject(int index, unsigned internalFormat, bool shadowSize,
                                   Sys::Ptr<const GL::RenderBuffer> depthStencil)
{
    const int width = shadowSize ? ShadowWidth : Width;
    const int height = shadowSize ? ShadowHeight : Height;
    Textures[index] = MakeTargetTexture(internalFormat, width, height);
    Sys::Ptr<GL::FrameBufferObject> target(new GL::FrameBufferObject(width, height));
    target->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, Textures[index]);
    if (depthStencil) {
        target->AttachRenderBuffer(GL_DEPTH_ATTACHMENT_EXT, depthStencil);
        target->AttachRenderBuffer(GL_STENCIL_ATTACHMENT_EXT, depthStencil);
    }
    target->CheckStatus();
    FrameBuffers[index] = target;
}

void FrameEx::BuildFramebufferObjects()
{
    Sys::Ptr<const GL::RenderBuffer> full(
        new GL::RenderBuffer(GL_DEPTH24_STENCIL8_EXT, Width, Height, 0));
    Sys::Ptr<const GL::RenderBuffer> shadow = full;
    if (ShadowWidth != Width || ShadowHeight != Height)
        shadow = Sys::Ptr<const GL::RenderBuffer>(
            new GL::RenderBuffer(GL_DEPTH24_STENCIL8_EXT, ShadowWidth, ShadowHeight, 0));

    AddFramebufferObject(0, GL_RGBA8, false, full);
    AddFramebufferObject(1, GL_RGBA8, true, shadow);
    AddFramebufferObject(2, GL_RGBA32F_ARB, true, shadow);
    AddFramebufferObject(3, GL_RGBA32F_ARB, true, shadow);
    AddFramebufferObject(4, GL_RGBA8, true, shadow);
    AddFramebufferObject(5, GL_RGBA8, true, Sys::Ptr<const GL::RenderBuffer>());
    AddFramebufferObject(6, GL_RGBA8, false, full);
}

void FrameEx::AddPBuffer(int index, bool floating, bool shadowSize, bool stencil)
{
    const int width = shadowSize ? ShadowWidth : Width;
    const int height = shadowSize ? ShadowHeight : Height;
    GL::PixelFormatDesc desc;
    desc.DoubleBuffer = r_GL_EarlyTricks.value;
    desc.PixelType = floating ? 2 : 1;
    desc.ColorBits = floating ? 64 : 32;
    desc.RedBits = desc.GreenBits = desc.BlueBits = floating ? 16 : 8;
    desc.AlphaBits = floating ? 16 : 8;
    desc.DepthBits = 24;
    desc.StencilBits = stencil ? 8 : 0;
    // Throws where the window system has no such P-buffer (no float formats on Xvfb).
    Sys::Ptr<GL::IContext> pbuffer(new GL::PBuffer(desc, width, height));
    Sys::Ptr<GL::FrameBuffer> target(new GL::FrameBuffer(pbuffer));
    Textures[index] = MakeTargetTexture(floating ? GL_RGBA16F_ARB : GL_RGBA8, width, height);
    target->AttachTextureRectangle(r_GL_EarlyTricks.value ? GL_BACK : GL_FRONT, Textures[index]);
    FrameBuffers[index] = target;
}

void FrameEx::BuildPBuffers()
{
    AddPBuffer(2, true, true, true);
    AddPBuffer(3, true, true, true);
    AddPBuffer(4, false, true, true);
    AddPBuffer(5, false, true, false);
    AddPBuffer(6, false, false, true);
}

} // namespace Korvo
