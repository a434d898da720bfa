#include "gl/WindowContext.h"

#include "gl/ExceptionWGL.h"

#include <vector>

namespace GL {

namespace {

using ChoosePixelFormatARB = Platform::BOOL (*)(Platform::HDC, const int*, const float*,
                                                Platform::UINT, int*, Platform::UINT*);

// Kept for the life of the process once a context has given it.
ChoosePixelFormatARB g_ChoosePixelFormatARB = nullptr;

const char* const DummyClassName = "Dummy Window";

} // namespace

WindowContext::WindowContext(const PixelFormatDesc& desc, Platform::HWND window_)
    : windowHandle(window_)
{
    using namespace Platform;
    requested = desc;
    window = true;

    deviceContext = Platform::GetDC(windowHandle);
    if (deviceContext == nullptr)
        throw Sys::Exception("Failed to obtain window DC.");

    HDC previousDC = wglGetCurrentDC();
    HGLRC previousRC = wglGetCurrentContext();
    try {
        // The accumulation bits of the request play no part in the classic choice.
        PIXELFORMATDESCRIPTOR pfd;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
        if (desc.DoubleBuffer)
            pfd.dwFlags |= PFD_DOUBLEBUFFER;
        if (desc.Stereo)
            pfd.dwFlags |= PFD_STEREO;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = static_cast<uint8_t>(desc.ColorBits);
        pfd.cRedBits = static_cast<uint8_t>(desc.RedBits);
        pfd.cGreenBits = static_cast<uint8_t>(desc.GreenBits);
        pfd.cBlueBits = static_cast<uint8_t>(desc.BlueBits);
        pfd.cAlphaBits = static_cast<uint8_t>(desc.AlphaBits);
        pfd.cDepthBits = static_cast<uint8_t>(desc.DepthBits);
        pfd.cStencilBits = static_cast<uint8_t>(desc.StencilBits);
        pfd.cAuxBuffers = static_cast<uint8_t>(desc.AuxBuffers);

        if (desc.Samples > 0) {
            pixelFormat = ChooseMultisampleFormat(desc);
        } else {
            pixelFormat = ChoosePixelFormat(deviceContext, &pfd);
            if (pixelFormat == 0)
                throw Sys::Exception("Appropriate windowed pixel format not found.");
        }
        if (!SetPixelFormat(deviceContext, pixelFormat, &pfd))
            ExceptionWGL::Throw(*this, "Failed to set pixel format.");

        renderContext = wglCreateContext(deviceContext);
        if (renderContext == nullptr)
            ExceptionWGL::Throw(*this, "Failed to create rendering context.");
        if (!wglMakeCurrent(deviceContext, renderContext))
            ExceptionWGL::Throw(*this, "Failed to make specified rendering context as current context.");
    } catch (const Sys::Exception&) {
        if (renderContext != nullptr) {
            wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(renderContext);
        }
        ReleaseDC(windowHandle, deviceContext);
        renderContext = nullptr;
        deviceContext = nullptr;
        if (previousRC != nullptr)
            wglMakeCurrent(previousDC, previousRC);
        throw;
    }
}

int WindowContext::ChooseMultisampleFormat(const PixelFormatDesc& desc)
{
    using namespace Platform;
    HWND dummy = nullptr;
    HDC dummyDC = nullptr;
    HGLRC dummyRC = nullptr;
    try {
        WNDCLASSA windowClass;
        windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = DummyClassName;
        if (RegisterClassA(&windowClass) == 0)
            throw Sys::Exception("Failed to register dummy window class.");
        dummy = CreateWindowExA(0, DummyClassName, "Window",
                                WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                nullptr, nullptr);
        if (dummy == nullptr)
            throw Sys::Exception("Failed to create dummy window.");
        dummyDC = Platform::GetDC(dummy);
        if (dummyDC == nullptr)
            throw Sys::Exception("Failed to obtain dummy DC.");

        PIXELFORMATDESCRIPTOR pfd;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = static_cast<uint8_t>(GetDeviceCaps(dummyDC, BITSPIXEL));
        pfd.cRedBits = 8;
        pfd.cGreenBits = 8;
        pfd.cBlueBits = 8;
        const int dummyFormat = ChoosePixelFormat(dummyDC, &pfd);
        if (dummyFormat == 0)
            ExceptionWGL::Throw(*this, "Failed to choose dummy pixel format.");
        if (!SetPixelFormat(dummyDC, dummyFormat, &pfd))
            ExceptionWGL::Throw(*this, "Failed to set dummy pixel format.");
        dummyRC = wglCreateContext(dummyDC);
        if (dummyRC == nullptr)
            ExceptionWGL::Throw(*this, "Failed to create rendering context.");
        if (!wglMakeCurrent(dummyDC, dummyRC))
            ExceptionWGL::Throw(*this, "Failed to make specified rendering context as current context.");

        g_ChoosePixelFormatARB =
            reinterpret_cast<ChoosePixelFormatARB>(wglGetProcAddress("wglChoosePixelFormatARB"));
        if (g_ChoosePixelFormatARB == nullptr)
            throw Sys::Exception("Failed to obtain wglChoosePixelFormatARB entry point.");

        const int attributes[] = {
            WGL_DRAW_TO_WINDOW_ARB, 1,
            WGL_DRAW_TO_BITMAP_ARB, 0,
            WGL_ACCELERATION_ARB, WGL_FULL_ACCELERATION_ARB,
            WGL_SUPPORT_GDI_ARB, 0,
            WGL_SUPPORT_OPENGL_ARB, 1,
            WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_ARB,
            WGL_COLOR_BITS_ARB, desc.ColorBits,
            WGL_RED_BITS_ARB, desc.RedBits,
            WGL_GREEN_BITS_ARB, desc.GreenBits,
            WGL_BLUE_BITS_ARB, desc.BlueBits,
            WGL_ALPHA_BITS_ARB, desc.AlphaBits,
            WGL_DEPTH_BITS_ARB, desc.DepthBits,
            WGL_STENCIL_BITS_ARB, desc.StencilBits,
            WGL_AUX_BUFFERS_ARB, desc.AuxBuffers,
            WGL_SAMPLE_BUFFERS_ARB, 1,
            WGL_SAMPLES_ARB, desc.Samples,
            WGL_DOUBLE_BUFFER_ARB, desc.DoubleBuffer ? 1 : 0,
            WGL_STEREO_ARB, 0,
            0, 0};
        int format = 0;
        UINT count = 0;
        // The format is asked for the real window's device context.
        if (!g_ChoosePixelFormatARB(deviceContext, attributes, nullptr, 1, &format, &count))
            ExceptionWGL::Throw(*this, "Failed to choose pixel format.");
        if (count == 0)
            throw Sys::Exception("Appropriate pixel format not found.");

        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(dummyRC);
        ReleaseDC(dummy, dummyDC);
        DestroyWindow(dummy);
        UnregisterClassA(DummyClassName, nullptr);
        return format;
    } catch (const Sys::Exception&) {
        if (dummyRC != nullptr) {
            if (wglGetCurrentContext() == dummyRC)
                wglMakeCurrent(nullptr, nullptr);
            wglDeleteContext(dummyRC);
        }
        if (dummyDC != nullptr)
            ReleaseDC(dummy, dummyDC);
        if (dummy != nullptr)
            DestroyWindow(dummy);
        UnregisterClassA(DummyClassName, nullptr);
        throw;
    }
}

WindowContext::~WindowContext()
{
    using namespace Platform;
    if (renderContext != nullptr) {
        if (wglGetCurrentContext() == renderContext)
            wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderContext);
    }
    if (deviceContext != nullptr)
        ReleaseDC(windowHandle, deviceContext);
}

void WindowContext::SwapBuffers()
{
    if (!Platform::SwapBuffers(deviceContext))
        throw Sys::Exception("Failed to swap buffers.");
}

} // namespace GL
