#include "gl/PBuffer.h"

#include "gl/ExceptionWGL.h"
#include "gl/ExtensionRegistry.h"

#include <vector>

namespace GL {

PBuffer::PBuffer(const PixelFormatDesc& desc, int width, int height)
{
    using namespace Platform;
    requested = desc;
    window = false;

    if (Extensions == nullptr || Extensions->WGL == nullptr || !Extensions->WGL->WGL_ARB_pbuffer)
        throw Sys::Exception("P-buffer unsupported.");
    const ExtensionRegistryWGL& wgl = *Extensions->WGL;

    HDC previousDC = wglGetCurrentDC();
    HGLRC previousRC = wglGetCurrentContext();
    if (previousDC == nullptr)
        throw Sys::Exception("Failed to obtain current DC.");

    HDC pbufferDC = nullptr;
    try {
        std::vector<int> attributes = {
            WGL_DRAW_TO_WINDOW_ARB, 0,
            WGL_DRAW_TO_BITMAP_ARB, 0,
            WGL_DRAW_TO_PBUFFER_ARB, 1,
            WGL_ACCELERATION_ARB, WGL_FULL_ACCELERATION_ARB,
            WGL_SUPPORT_GDI_ARB, 0,
            WGL_SUPPORT_OPENGL_ARB, 1};
        // Floating point comes as its own pixel type, or as RGBA with float components.
        if (desc.PixelType == 1) {
            attributes.insert(attributes.end(), {WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_ARB});
        } else if (wgl.WGL_ARB_pixel_format_float || wgl.WGL_ATI_pixel_format_float) {
            attributes.insert(attributes.end(), {WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_FLOAT_ARB});
        } else if (wgl.WGL_NV_float_buffer) {
            attributes.insert(attributes.end(), {WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_ARB,
                                                 WGL_FLOAT_COMPONENTS_NV, 1});
        } else {
            throw Sys::Exception("Floating-point P-buffer unsupported.");
        }
        AppendBufferBits(attributes, desc, 0);
        if (desc.Samples > 0)
            attributes.insert(attributes.end(), {WGL_SAMPLE_BUFFERS_ARB, desc.SampleBuffers,
                                                 WGL_SAMPLES_ARB, desc.Samples});
        attributes.insert(attributes.end(), {WGL_DOUBLE_BUFFER_ARB, desc.DoubleBuffer ? 1 : 0});
        if (desc.DoubleBuffer
            && (Extensions->GL_NV_register_combiners || Extensions->GL_NV_vertex_program))
            attributes.insert(attributes.end(), {WGL_SWAP_METHOD_ARB, WGL_SWAP_EXCHANGE_ARB});
        attributes.insert(attributes.end(), {WGL_STEREO_ARB, 0, 0, 0});

        UINT count = 0;
        if (!wglChoosePixelFormatARB(previousDC, attributes.data(), nullptr, 1, &pixelFormat,
                                     &count))
            throw Sys::Exception("Failed to choose pixel format.");
        if (count == 0)
            throw Sys::Exception("Appropriate pixel format not found.");

        const int accelerationQuery = WGL_ACCELERATION_ARB;
        int acceleration = 0;
        if (!wglGetPixelFormatAttribivARB(previousDC, pixelFormat, 0, 1, &accelerationQuery,
                                          &acceleration))
            throw Sys::Exception("Failed to query pixel format attributes.");
        if (acceleration != WGL_FULL_ACCELERATION_ARB)
            throw Sys::Exception("Accelerated pixel format not found.");

        const int creation[] = {WGL_PBUFFER_LARGEST_ARB, 0, 0, 0};
        pbuffer = wglCreatePbufferARB(previousDC, pixelFormat, width, height, creation);
        if (pbuffer == nullptr)
            ExceptionWGL::Throw(*this, "Failed to create P-buffer.");
        pbufferDC = wglGetPbufferDCARB(pbuffer);
        if (pbufferDC == nullptr)
            ExceptionWGL::Throw(*this, "Failed to obtain P-buffer DC.");
        deviceContext = pbufferDC;
        CreateCurrentContext(pbufferDC, renderContext);
        if (previousRC != nullptr && !wglShareLists(previousRC, renderContext))
            ExceptionWGL::Throw(*this, "Failed to share lists between multiple rendering contexts.");
    } catch (const Sys::Exception&) {
        if (renderContext != nullptr) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(renderContext);
        }
        if (pbufferDC != nullptr)
            wglReleasePbufferDCARB(pbuffer, pbufferDC);
        if (pbuffer != nullptr)
            wglDestroyPbufferARB(pbuffer);
        if (previousRC != nullptr)
            wglMakeCurrent(previousDC, previousRC);
        renderContext = nullptr;
        deviceContext = nullptr;
        pbuffer = nullptr;
        throw;
    }
}

PBuffer::~PBuffer()
{
    using namespace Platform;
    DeleteContext(renderContext);
    if (deviceContext != nullptr)
        wglReleasePbufferDCARB(pbuffer, deviceContext);
    if (pbuffer != nullptr)
        wglDestroyPbufferARB(pbuffer);
}

void PBuffer::SwapBuffers()
{
    if (!Platform::wglSwapLayerBuffers(deviceContext, Platform::WGL_SWAP_MAIN_PLANE))
        throw Sys::Exception("Failed to swap buffers.");
}

} // namespace GL
