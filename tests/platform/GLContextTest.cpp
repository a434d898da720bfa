// The platform layer's GLX side where the GL classes on top do not reach.

#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <string>
#include <vector>

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

// The formats offered for a request all meet its sizes, best first: single-sampled ones
// before any multisampled one unless samples are asked for, and then only formats with at
// least that many.
TEST_F(GLContextTest, ChosenFormatsMeetTheRequestBestFirst)
{
    HDC dc = context->GetDC();
    const auto choose = [dc](std::vector<int> request) {
        request.insert(request.end(), {WGL_DRAW_TO_WINDOW_ARB, 1, WGL_PIXEL_TYPE_ARB,
                                       WGL_TYPE_RGBA_ARB, 0, 0});
        std::vector<int> formats(512);
        UINT count = 0;
        EXPECT_TRUE(wglChoosePixelFormatARB(dc, request.data(), nullptr,
                                            static_cast<UINT>(formats.size()), formats.data(),
                                            &count));
        formats.resize(count);
        return formats;
    };
    const auto attribute = [dc](int format, int name) {
        int value = -1;
        EXPECT_TRUE(wglGetPixelFormatAttribivARB(dc, format, 0, 1, &name, &value));
        return value;
    };

    const std::vector<int> plain = choose({WGL_DEPTH_BITS_ARB, 16, WGL_STENCIL_BITS_ARB, 8});
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(attribute(plain.front(), WGL_SAMPLES_ARB), 0);
    int samplesBefore = 0;
    for (int format : plain) {
        EXPECT_GE(attribute(format, WGL_DEPTH_BITS_ARB), 16) << format;
        EXPECT_GE(attribute(format, WGL_STENCIL_BITS_ARB), 8) << format;
        EXPECT_EQ(attribute(format, WGL_DRAW_TO_WINDOW_ARB), 1) << format;
        const int samples = attribute(format, WGL_SAMPLES_ARB);
        EXPECT_GE(samples, samplesBefore) << format;
        samplesBefore = samples;
    }

    // Where the screen has multisampled formats, asking for them gives only those.
    if (samplesBefore >= 4) {
        const std::vector<int> multi =
            choose({WGL_SAMPLE_BUFFERS_ARB, 1, WGL_SAMPLES_ARB, 4, WGL_DEPTH_BITS_ARB, 16});
        ASSERT_FALSE(multi.empty());
        for (int format : multi)
            EXPECT_GE(attribute(format, WGL_SAMPLES_ARB), 4) << format;
    }
    EXPECT_TRUE(choose({WGL_DEPTH_BITS_ARB, 1000}).empty());
}

// A window's pixel format is set once for its lifetime; a format the screen does not have is
// refused.
TEST_F(GLContextTest, PixelFormatIsSetOncePerWindow)
{
    ::Test::GLTestWindow window;
    ASSERT_NE(window.Get(), nullptr);
    HDC dc = GetDC(window.Get());
    ASSERT_NE(dc, nullptr);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 24;
    pfd.cStencilBits = 8;
    const int format = ChoosePixelFormat(dc, &pfd);
    ASSERT_GT(format, 0);
    EXPECT_EQ(GetPixelFormat(dc), 0);
    SetLastError(0);
    EXPECT_FALSE(SetPixelFormat(dc, 1 << 20, &pfd));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_EQ(GetPixelFormat(dc), 0);
    EXPECT_TRUE(SetPixelFormat(dc, format, &pfd));
    EXPECT_EQ(GetPixelFormat(dc), format);
    PIXELFORMATDESCRIPTOR described = {};
    ASSERT_GT(DescribePixelFormat(dc, format, sizeof(described), &described), 0);
    EXPECT_GE(described.cDepthBits, 24);
    EXPECT_GE(described.cStencilBits, 8);
    EXPECT_TRUE(described.dwFlags & PFD_DOUBLEBUFFER);

    SetLastError(0);
    EXPECT_FALSE(SetPixelFormat(dc, format, &pfd));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PIXEL_FORMAT);
    EXPECT_EQ(GetPixelFormat(dc), format);
    ReleaseDC(window.Get(), dc);
}

} // namespace
