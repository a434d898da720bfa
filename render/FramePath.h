#pragma once

namespace Korvo {

// The choices a frame set makes before it touches GL, kept apart so they can be checked
// without a driver.
struct FramePath {
    // What the driver offers, as far as the choice is concerned.
    struct Offer {
        bool FramebufferObject = false;      // GL_EXT_framebuffer_object
        bool PackedDepthStencil = false;     // GL_EXT_packed_depth_stencil
        bool FramebufferMultisample = false; // GL_EXT_framebuffer_multisample
        bool FramebufferBlit = false;        // GL_EXT_framebuffer_blit
    };

    // The hard-shadow set: multisampling also needs the multisample and blit extensions.
    static bool UseFramebufferObjects(bool requested, const Offer& offer, int samples);
    // The soft-shadow set never multisamples, so the sample count plays no part.
    static bool UseFramebufferObjectsEx(bool requested, const Offer& offer);
    // Size of the soft-shadow targets: halved (rounded down) when downsampling.
    static int ShadowSize(int size, bool downsample) { return downsample ? size / 2 : size; }
};

} // namespace Korvo
