// The platform layer's GLX side where the GL classes on top do not reach.

#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <string>

using namespace Platform;

namespace {

class GLContextTest : public ::Test::GLTest {};

// An impossible P-buffer, a bad query and a bad handle are refused with an error the process
// lives through (X reports them asynchronously).
TEST_F(GLContextTest, XErrorsAreRecordedAndTheProcessGoesOn)
{
    HDC dc = context->GetDC();
    const int request[] = {WGL_DRAW_TO_PBUFFER_ARB, 1, WGL_SUPPORT_OPENGL_ARB, 1, WGL_PIXEL_TYPE_ARB,
                           WGL_TYPE_RGBA_ARB, WGL_RED_BITS_ARB, 8, WGL_DEPTH_BITS_ARB, 24, 0, 0};
    int format = 0;
    UINT count = 0;
    ASSERT_TRUE(wglChoosePixelFormatARB(dc, request, nullptr, 1, &format, &count) && count > 0);
    SetLastError(0);
    EXPECT_EQ(wglCreatePbufferARB(dc, format, 1 << 20, 1 << 20, nullptr), nullptr);
    EXPECT_NE(GetLastError(), 0u);
    const int badQuery = 0x7777;
    int value = 0;
    EXPECT_FALSE(wglGetPixelFormatAttribivARB(dc, format, 0, 1, &badQuery, &value));
    EXPECT_FALSE(wglMakeCurrent(dc, reinterpret_cast<HGLRC>(&value)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    ASSERT_TRUE(context->MakeCurrent());
}

TEST_F(GLContextTest, SwapControlFollowsTheGLXString)
{
    const char* extensions = wglGetExtensionsStringARB(context->GetDC());
    ASSERT_NE(extensions, nullptr);
    const bool listed = std::string(extensions).find("swap_control") != std::string::npos;
    EXPECT_EQ(HasSwapControl(), listed);
    EXPECT_EQ(wglGetProcAddress("wglSwapIntervalEXT") != nullptr, listed);
    int major = 0, minor = 0;
    ASSERT_TRUE(GetGLXVersion(&major, &minor));
    EXPECT_GE(major * 10 + minor, 13);
}

} // namespace
