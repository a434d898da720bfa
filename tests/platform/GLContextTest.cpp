// Windows, pixel formats, contexts and P-buffers of the platform layer on a real X server.

#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <vector>

using namespace Platform;

namespace {

class GLContextTest : public Test::GLTest {};

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
    EXPECT_EQ(pfd.cColorBits, 24);
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

} // namespace
