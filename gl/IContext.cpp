#include "gl/IContext.h"

#include "app/DeveloperException.h"
#include "gl/ExceptionWGL.h"
#include "gl/ExtensionRegistry.h"

#include <vector>

namespace GL {

PixelFormatDesc IContext::GetPixelFormatDesc() const
{
    using namespace Platform;
    if (Extensions == nullptr || Extensions->WGL == nullptr)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_CALL,
                                      "No available OpenGL extensions list.");
    const ExtensionRegistryWGL& wgl = *Extensions->WGL;
    if (!wgl.WGL_ARB_pixel_format)
        throw Sys::Exception("Extension WGL_ARB_pixel_format unsupported.");

    std::vector<int> query = {WGL_DOUBLE_BUFFER_ARB, WGL_STEREO_ARB, WGL_PIXEL_TYPE_ARB};
    if (wgl.WGL_NV_float_buffer)
        query.push_back(WGL_FLOAT_COMPONENTS_NV);
    query.insert(query.end(),
                 {WGL_ACCELERATION_ARB, WGL_COLOR_BITS_ARB, WGL_RED_BITS_ARB, WGL_GREEN_BITS_ARB,
                  WGL_BLUE_BITS_ARB, WGL_ALPHA_BITS_ARB, WGL_DEPTH_BITS_ARB, WGL_STENCIL_BITS_ARB,
                  WGL_ACCUM_RED_BITS_ARB, WGL_ACCUM_GREEN_BITS_ARB, WGL_ACCUM_BLUE_BITS_ARB,
                  WGL_ACCUM_ALPHA_BITS_ARB, WGL_AUX_BUFFERS_ARB});
    if (wgl.WGL_ARB_multisample)
        query.insert(query.end(), {WGL_SAMPLE_BUFFERS_ARB, WGL_SAMPLES_ARB});
    std::vector<int> answers(query.size(), 0);
    if (!wglGetPixelFormatAttribivARB(deviceContext, pixelFormat, 0,
                                      static_cast<UINT>(query.size()), query.data(),
                                      answers.data()))
        ExceptionWGL::Throw(*this, "Failed to query pixel format attributes.");

    PixelFormatDesc desc;
    size_t next = 0;
    desc.DoubleBuffer = answers[next++] == 1;
    desc.Stereo = answers[next++] == 1;
    const int pixelType = answers[next++];
    const bool floatComponents = wgl.WGL_NV_float_buffer && answers[next++] == 1;
    switch (pixelType) {
    case WGL_TYPE_RGBA_ARB: desc.PixelType = floatComponents ? 2 : 1; break;
    case WGL_TYPE_COLORINDEX_ARB: desc.PixelType = 0; break;
    case WGL_TYPE_RGBA_FLOAT_ARB: desc.PixelType = 2; break;
    default: ExceptionWGL::Throw(*this, "Unknown value of attribute WGL_PIXEL_TYPE_ARB.");
    }
    switch (answers[next++]) {
    case WGL_NO_ACCELERATION_ARB: desc.Acceleration = 0; break;
    case WGL_GENERIC_ACCELERATION_ARB: desc.Acceleration = 1; break;
    case WGL_FULL_ACCELERATION_ARB: desc.Acceleration = 2; break;
    default: ExceptionWGL::Throw(*this, "Unknown value of attribute WGL_ACCELERATION_ARB.");
    }
    desc.ColorBits = answers[next++];
    desc.RedBits = answers[next++];
    desc.GreenBits = answers[next++];
    desc.BlueBits = answers[next++];
    desc.AlphaBits = answers[next++];
    desc.DepthBits = answers[next++];
    desc.StencilBits = answers[next++];
    desc.AccumRedBits = answers[next++];
    desc.AccumGreenBits = answers[next++];
    desc.AccumBlueBits = answers[next++];
    desc.AccumAlphaBits = answers[next++];
    desc.AuxBuffers = answers[next++];
    if (wgl.WGL_ARB_multisample) {
        desc.SampleBuffers = answers[next++];
        desc.Samples = answers[next++];
    }
    return desc;
}

void IContext::CreateCurrentContext(Platform::HDC dc, Platform::HGLRC& context) const
{
    context = Platform::wglCreateContext(dc);
    if (context == nullptr)
        ExceptionWGL::Throw(*this, "Failed to create rendering context.");
    if (!Platform::wglMakeCurrent(dc, context))
        ExceptionWGL::Throw(*this, "Failed to make specified rendering context as current context.");
}

void IContext::DeleteContext(Platform::HGLRC context)
{
    if (context == nullptr)
        return;
    if (Platform::wglGetCurrentContext() == context)
        Platform::wglMakeCurrent(nullptr, nullptr);
    Platform::wglDeleteContext(context);
}

void IContext::AppendBufferBits(std::vector<int>& attributes, const PixelFormatDesc& desc,
                                int colorBits)
{
    using namespace Platform;
    attributes.insert(attributes.end(), {
        WGL_COLOR_BITS_ARB, colorBits,
        WGL_RED_BITS_ARB, desc.RedBits,
        WGL_GREEN_BITS_ARB, desc.GreenBits,
        WGL_BLUE_BITS_ARB, desc.BlueBits,
        WGL_ALPHA_BITS_ARB, desc.AlphaBits,
        WGL_DEPTH_BITS_ARB, desc.DepthBits,
        WGL_STENCIL_BITS_ARB, desc.StencilBits,
        WGL_AUX_BUFFERS_ARB, desc.AuxBuffers});
}

} // namespace GL
