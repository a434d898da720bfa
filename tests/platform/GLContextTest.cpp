// Windows, pixel formats, contexts and P-buffers of the platform layer on a real X server.

#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <vector>

using namespace Platform;

namespace {

class GLContextTest : public ::Test::GLTest {};

TEST_F(GLContextTest, ClearsAndReadsBackTheWindowFormatItAskedFor)
{
    HDC dc = context->GetDC();
    EXPECT_EQ(wglGetCurrentContext(), context->GetRC());
    EXPECT_EQ(wglGetCurrentDC(), dc);

    PIXELFORMATDESCRIPTOR pfd;
    ASSERT_GT(DescribePixelFormat(dc, GetPixelFormat(dc), sizeof(pfd), &pfd), 0);
    EXPECT_EQ(pfd.dwFlags & (PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER),
              PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER);
    EXPECT_EQ(pfd.cRedBits, 8);
    EXPECT_EQ(pfd.cAlphaBits, 8);
    EXPECT_EQ(pfd.cDepthBits, 24);
    EXPECT_EQ(pfd.cStencilBits, 8);
    EXPECT_EQ(pfd.cColorBits, 32);
    EXPECT_EQ(pfd.dwFlags & PFD_GENERIC_ACCELERATED, 0u);

    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_TRUE(SwapBuffers(dc));

    // A window's format is fixed once set.
    EXPECT_FALSE(SetPixelFormat(dc, GetPixelFormat(dc), &pfd));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PIXEL_FORMAT);
}

int ChooseOne(HDC dc, const std::vector<int>& attributes)
{
    int format = 0;
    UINT count = 0;
    if (!wglChoosePixelFormatARB(dc, attributes.data(), nullptr, 1, &format, &count) || count == 0)
        return 0;
    return format;
}

std::vector<int> PBufferAttributes(int pixelType)
{
    return {WGL_DRAW_TO_WINDOW_ARB, 0, WGL_DRAW_TO_PBUFFER_ARB, 1, WGL_ACCELERATION_ARB,
            WGL_FULL_ACCELERATION_ARB, WGL_SUPPORT_OPENGL_ARB, 1, WGL_PIXEL_TYPE_ARB, pixelType,
            WGL_RED_BITS_ARB, 8, WGL_GREEN_BITS_ARB, 8, WGL_BLUE_BITS_ARB, 8,
            WGL_DEPTH_BITS_ARB, 24, WGL_DOUBLE_BUFFER_ARB, 0, 0, 0};
}

TEST_F(GLContextTest, PBufferSharesObjectsWithTheContextCurrentAtCreation)
{
    HDC windowDC = context->GetDC();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char texel[4] = {10, 20, 30, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);

    const int format = ChooseOne(windowDC, PBufferAttributes(WGL_TYPE_RGBA_ARB));
    ASSERT_GT(format, 0);
    const int query[] = {WGL_DRAW_TO_PBUFFER_ARB, WGL_ACCELERATION_ARB, WGL_ALPHA_BITS_ARB,
                         WGL_DOUBLE_BUFFER_ARB, WGL_SAMPLES_ARB};
    int values[5] = {};
    ASSERT_TRUE(wglGetPixelFormatAttribivARB(windowDC, format, 0, 5, query, values));
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[1], WGL_FULL_ACCELERATION_ARB);
    EXPECT_EQ(values[2], 0) << "closest match: no alpha was asked for";
    EXPECT_EQ(values[3], 0);
    EXPECT_EQ(values[4], 0);

    const int largest[] = {WGL_PBUFFER_LARGEST_ARB, 0, 0, 0};
    HPBUFFER pbuffer = wglCreatePbufferARB(windowDC, format, 64, 32, largest);
    ASSERT_NE(pbuffer, nullptr);
    int width = 0, height = 0;
    EXPECT_TRUE(wglQueryPbufferARB(pbuffer, WGL_PBUFFER_WIDTH_ARB, &width));
    EXPECT_TRUE(wglQueryPbufferARB(pbuffer, WGL_PBUFFER_HEIGHT_ARB, &height));
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 32);
    HDC pbufferDC = wglGetPbufferDCARB(pbuffer);
    ASSERT_NE(pbufferDC, nullptr);
    HGLRC pbufferRC = wglCreateContext(pbufferDC);
    ASSERT_NE(pbufferRC, nullptr);
    ASSERT_TRUE(wglMakeCurrent(pbufferDC, pbufferRC));
    EXPECT_TRUE(wglShareLists(context->GetRC(), pbufferRC));

    // The window's texture is visible here and draws into the P-buffer.
    EXPECT_TRUE(glIsTexture(texture));
    glViewport(0, 0, 64, 32);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0); glVertex2f(-1, -1);
    glTexCoord2f(1, 0); glVertex2f(1, -1);
    glTexCoord2f(1, 1); glVertex2f(1, 1);
    glTexCoord2f(0, 1); glVertex2f(-1, 1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    unsigned char pixel[4] = {};
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 10);
    EXPECT_EQ(pixel[1], 20);
    EXPECT_EQ(pixel[2], 30);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    // A context made without the window's current shares nothing with it.
    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    HGLRC lonely = wglCreateContext(pbufferDC);
    ASSERT_NE(lonely, nullptr);
    EXPECT_FALSE(wglShareLists(context->GetRC(), lonely));
    EXPECT_TRUE(wglDeleteContext(lonely));

    ASSERT_TRUE(wglMakeCurrent(pbufferDC, pbufferRC));
    EXPECT_TRUE(wglDeleteContext(pbufferRC));
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "deleting the current context releases it";
    EXPECT_EQ(wglReleasePbufferDCARB(pbuffer, pbufferDC), 1);
    EXPECT_TRUE(wglDestroyPbufferARB(pbuffer));
    ASSERT_TRUE(context->MakeCurrent());
    glDeleteTextures(1, &texture);
}

TEST_F(GLContextTest, FloatAndImpossibleRequestsFindNoFormatAndXErrorsAreRecorded)
{
    HDC dc = context->GetDC();
    EXPECT_EQ(ChooseOne(dc, PBufferAttributes(WGL_TYPE_RGBA_FLOAT_ARB)), 0);
    std::vector<int> nvFloat = PBufferAttributes(WGL_TYPE_RGBA_ARB);
    nvFloat.insert(nvFloat.end() - 2, {WGL_FLOAT_COMPONENTS_NV, 1});
    EXPECT_EQ(ChooseOne(dc, nvFloat), 0);
    EXPECT_EQ(ChooseOne(dc, {WGL_DRAW_TO_WINDOW_ARB, 1, WGL_DEPTH_BITS_ARB, 64, 0, 0}), 0);

    // Multisampled window formats exist and can be drawn by this window.
    const int multisampled = ChooseOne(
        dc, {WGL_DRAW_TO_WINDOW_ARB, 1, WGL_SUPPORT_OPENGL_ARB, 1, WGL_COLOR_BITS_ARB, 24,
             WGL_SAMPLE_BUFFERS_ARB, 1, WGL_SAMPLES_ARB, 4, WGL_DOUBLE_BUFFER_ARB, 1, 0, 0});
    ASSERT_GT(multisampled, 0);
    const int samplesQuery = WGL_SAMPLES_ARB;
    int samples = 0;
    ASSERT_TRUE(wglGetPixelFormatAttribivARB(dc, multisampled, 0, 1, &samplesQuery, &samples));
    EXPECT_EQ(samples, 4);

    // An impossible P-buffer is refused with the server's error, and the process goes on.
    const int format = ChooseOne(dc, PBufferAttributes(WGL_TYPE_RGBA_ARB));
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

TEST_F(GLContextTest, EntryPointsAndSwapControlFollowTheGLXString)
{
    const char* extensions = wglGetExtensionsStringARB(context->GetDC());
    ASSERT_NE(extensions, nullptr);
    const bool listed = std::string(extensions).find("swap_control") != std::string::npos;
    EXPECT_EQ(HasSwapControl(), listed);
    EXPECT_EQ(wglGetProcAddress("wglSwapIntervalEXT") != nullptr, listed);
    EXPECT_NE(wglGetProcAddress("wglChoosePixelFormatARB"), nullptr);
    EXPECT_NE(wglGetProcAddress("glGenFramebuffersEXT"), nullptr);
    EXPECT_EQ(wglGetProcAddress("wglNoSuchFunction"), nullptr);
    int major = 0, minor = 0;
    ASSERT_TRUE(GetGLXVersion(&major, &minor));
    EXPECT_GE(major * 10 + minor, 13);

    ASSERT_TRUE(wglMakeCurrent(nullptr, nullptr));
    EXPECT_EQ(wglGetProcAddress("wglChoosePixelFormatARB"), nullptr)
        << "entry points come from a current context";
    ASSERT_TRUE(context->MakeCurrent());
}

} // namespace
