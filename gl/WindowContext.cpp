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

        CreateCurrentContext(deviceContext, renderContext);
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
        CreateCurrentContext(dummyDC, dummyRC);

        g_ChoosePixelFormatARB =
            reinterpret_cast<ChoosePixelFormatARB>(wglGetProcAddress("wglChoosePixelFormatARB"));
        if (g_ChoosePixelFormatARB == nullptr)
            throw Sys::Exception("Failed to obtain wglChoosePixelFormatARB entry point.");

        std::vector<int> attributes = {
            WGL_DRAW_TO_WINDOW_ARB, 1,
            WGL_DRAW_TO_BITMAP_ARB, 0,
            WGL_ACCELERATION_ARB, WGL_FULL_ACCELERATION_ARB,
            WGL_SUPPORT_GDI_ARB, 0,
            WGL_SUPPORT_OPENGL_ARB, 1,
            WGL_PIXEL_TYPE_ARB, WGL_TYPE_RGBA_ARB};
        AppendBufferBits(attributes, desc, desc.ColorBits);
        attributes.insert(attributes.end(), {
            WGL_SAMPLE_BUFFERS_ARB, 1,
            WGL_SAMPLES_ARB, desc.Samples,
            WGL_DOUBLE_BUFFER_ARB, desc.DoubleBuffer ? 1 : 0,
            WGL_STEREO_ARB, 0,
            0, 0});
        int format = 0;
        UINT count = 0;
        // The format is asked for the real window's device context.
        if (!g_ChoosePixelFormatARB(deviceContext, attributes.data(), nullptr, 1, &format, &count))
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
        DeleteContext(dummyRC);
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
    DeleteContext(renderContext);
    if (deviceContext != nullptr)
        ReleaseDC(windowHandle, deviceContext);
}

void WindowContext::SwapBuffers()
{
    if (!Platform::SwapBuffers(deviceContext))
        throw Sys::Exception("Failed to swap buffers.");
}

} // namespace GL
