#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <cstdio>

namespace Test {

namespace {

const char* const ClassName = "Korvo GL Test";

Platform::LRESULT TestWindowProc(Platform::HWND window, Platform::UINT message,
                                 Platform::WPARAM wParam, Platform::LPARAM lParam)
{
    return Platform::DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

GLTestWindow::GLTestWindow(int width, int height)
{
    using namespace Platform;
    if (!IsClassRegistered(ClassName)) {
        WNDCLASSA windowClass;
        windowClass.style = CS_OWNDC;
        windowClass.lpfnWndProc = TestWindowProc;
        windowClass.lpszClassName = ClassName;
        if (RegisterClassA(&windowClass) == 0)
            return;
    }
    window = CreateWindowExA(0, ClassName, "Korvo GL test", WS_POPUP, 0, 0, width, height,
                             nullptr, nullptr, nullptr, nullptr);
}

GLTestWindow::~GLTestWindow()
{
    if (window != nullptr)
        Platform::DestroyWindow(window);
}

GLTestContext::GLTestContext(int width_, int height_)
    : window(width_, height_), width(width_), height(height_)
{
    using namespace Platform;
    if (window.Get() == nullptr && Fail("Creating the test window (is DISPLAY set?)"))
        return;
    deviceContext = Platform::GetDC(window.Get());
    if (deviceContext == nullptr && Fail("GetDC"))
        return;
    PIXELFORMATDESCRIPTOR pfd;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cRedBits = pfd.cGreenBits = pfd.cBlueBits = pfd.cAlphaBits = 8;
    pfd.cDepthBits = 24;
    pfd.cStencilBits = 8;
    const int format = ChoosePixelFormat(deviceContext, &pfd);
    if (format == 0 && Fail("ChoosePixelFormat"))
        return;
    if (!SetPixelFormat(deviceContext, format, &pfd) && Fail("SetPixelFormat"))
        return;
    HGLRC created = wglCreateContext(deviceContext);
    if (created == nullptr && Fail("wglCreateContext"))
        return;
    if (!wglMakeCurrent(deviceContext, created)) {
        wglDeleteContext(created);
        Fail("wglMakeCurrent");
        return;
    }
    glewExperimental = GL_TRUE;
    const GLenum glew = glewInit();
    if (glew != GLEW_OK) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(created);
        error = std::string("glewInit: ") + reinterpret_cast<const char*>(glewGetErrorString(glew));
        return;
    }
    // glewInit may leave an error behind on some drivers; tests start clean.
    while (glGetError() != GL_NO_ERROR) {
    }
    renderContext = created;
}

GLTestContext::~GLTestContext()
{
    using namespace Platform;
    if (renderContext != nullptr) {
        if (wglGetCurrentContext() == renderContext)
            wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(renderContext);
    }
    if (deviceContext != nullptr)
        ReleaseDC(window.Get(), deviceContext);
}

bool GLTestContext::Fail(const char* what)
{
    char text[256];
    std::snprintf(text, sizeof(text), "%s failed (last error %u)", what,
                  static_cast<unsigned>(Platform::GetLastError()));
    error = text;
    return true;
}

bool GLTestContext::MakeCurrent() const
{
    return Platform::wglMakeCurrent(deviceContext, renderContext) != 0;
}

void GLTestContext::SwapBuffers() const
{
    Platform::SwapBuffers(deviceContext);
}

void GLTest::SetUp()
{
    context = std::make_unique<GLTestContext>();
    ASSERT_TRUE(context->IsReady()) << context->Error();
}

void GLTest::TearDown()
{
    if (context != nullptr && context->IsReady() && context->MakeCurrent()) {
        const GLenum error = glGetError();
        EXPECT_EQ(error, static_cast<GLenum>(GL_NO_ERROR)) << "GL error left at the end of the test";
    }
    context.reset();
}

} // namespace Test
