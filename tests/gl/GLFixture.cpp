#include "tests/gl/GLFixture.h"

#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/DriverDesc.h"
#include "gl/ExtensionRegistry.h"

#include <GL/glew.h>

Platform::HWND GLFixture::window = nullptr;
Platform::HDC GLFixture::dc = nullptr;
Platform::HGLRC GLFixture::context = nullptr;

namespace {

Platform::LRESULT Procedure(Platform::HWND w, Platform::UINT m, Platform::WPARAM wp,
                            Platform::LPARAM lp)
{
    return Platform::DefWindowProcA(w, m, wp, lp);
}

} // namespace

void GLFixture::SetUpTestSuite()
{
    Platform::WNDCLASSA windowClass;
    windowClass.style = Platform::CS_OWNDC;
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "KorvoGLTest";
    Platform::RegisterClassA(&windowClass);
    window = Platform::CreateWindowExA(0, "KorvoGLTest", "Korvo GL test", Platform::WS_POPUP, 0,
                                       0, 256, 256, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr) << "no display";
    dc = Platform::GetDC(window);
    Platform::PIXELFORMATDESCRIPTOR pfd;
    pfd.dwFlags = Platform::PFD_DRAW_TO_WINDOW | Platform::PFD_SUPPORT_OPENGL |
                  Platform::PFD_DOUBLEBUFFER;
    pfd.iPixelType = Platform::PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cRedBits = pfd.cGreenBits = pfd.cBlueBits = pfd.cAlphaBits = 8;
    const int format = Platform::ChoosePixelFormat(dc, &pfd);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(Platform::SetPixelFormat(dc, format, &pfd));
    context = Platform::wglCreateContext(dc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(Platform::wglMakeCurrent(dc, context));
    ASSERT_EQ(glewInit(), static_cast<GLenum>(GLEW_OK));
    glGetError();  // GLEW's probing may leave an error behind

    r_GL_CatchErrors.value = true;
    GL::Extensions = Sys::Ptr<GL::ExtensionRegistry>(new GL::ExtensionRegistry());
    GL::Extensions->WGL = Sys::Ptr<GL::ExtensionRegistryWGL>(new GL::ExtensionRegistryWGL());
    GL::Driver = Sys::Ptr<GL::DriverDesc>(new GL::DriverDesc());
    GL::Caps = Sys::Ptr<GL::CapsDesc>(new GL::CapsDesc());
}

void GLFixture::TearDownTestSuite()
{
    GL::Caps = nullptr;
    GL::Driver = nullptr;
    GL::Extensions = nullptr;
    if (context != nullptr) {
        Platform::wglMakeCurrent(nullptr, nullptr);
        Platform::wglDeleteContext(context);
    }
    if (dc != nullptr)
        Platform::ReleaseDC(window, dc);
    if (window != nullptr)
        Platform::DestroyWindow(window);
    Platform::UnregisterClassA("KorvoGLTest", nullptr);
    context = nullptr;
    dc = nullptr;
    window = nullptr;
}

void GLFixture::SetUp()
{
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "an earlier test left an error";
}

void GLFixture::TearDown()
{
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the test left a GL error";
}
