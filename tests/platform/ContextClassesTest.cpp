// Window contexts and P-buffers: the formats they end up with, sharing, and what is left
// behind when they fail.

#include "app/Exception.h"
#include "gl/ExtensionRegistry.h"
#include "gl/PBuffer.h"
#include "gl/WindowContext.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <memory>
#include <string>
#include <vector>

using namespace Platform;

namespace {

GL::PixelFormatDesc WindowRequest(int samples = 0)
{
    GL::PixelFormatDesc desc;
    desc.DoubleBuffer = true;
    desc.ColorBits = 32;
    desc.RedBits = desc.GreenBits = desc.BlueBits = desc.AlphaBits = desc.StencilBits = 8;
    desc.DepthBits = 24;
    desc.Samples = samples;
    desc.SampleBuffers = samples > 0 ? 1 : 0;
    return desc;
}

// Double buffer, stereo, pixel type, acceleration, colour, red, alpha, depth, stencil and
// sample bits.
std::vector<int> Fields(const GL::PixelFormatDesc& d)
{
    return {d.DoubleBuffer, d.Stereo, d.PixelType, d.Acceleration, d.ColorBits, d.RedBits,
            d.AlphaBits, d.DepthBits, d.StencilBits, d.Samples};
}

// Each test gets a fresh window for the context under test, with the helper's own
// context current beforehand so that restoring it can be checked.
class ContextClassesTest : public ::Test::GLTest {
protected:
    void SetUp() override
    {
        ::Test::GLTest::SetUp();
        GL::Extensions = Sys::Ptr<GL::ExtensionRegistry>(new GL::ExtensionRegistry());
        GL::Extensions->WGL = Sys::Ptr<GL::ExtensionRegistryWGL>(new GL::ExtensionRegistryWGL());
        target = std::make_unique<::Test::GLTestWindow>();
        ASSERT_NE(target->Get(), nullptr);
    }

    void TearDown() override
    {
        HideEntryPointForTesting("");
        target.reset();
        GL::Extensions = nullptr;
        ::Test::GLTest::TearDown();
    }

    std::unique_ptr<::Test::GLTestWindow> target;
};

TEST_F(ContextClassesTest, WindowContextGetsTheRequestedFormatPlainOrMultisampled)
{
    // Without the extended choice at hand, a request without samples still succeeds:
    // it never goes near the dummy window.
    HideEntryPointForTesting("wglChoosePixelFormatARB");
    Sys::Ptr<GL::WindowContext> window(new GL::WindowContext(WindowRequest(), target->Get()));
    HideEntryPointForTesting("");
    EXPECT_EQ(wglGetCurrentContext(), window->GetRC());
    EXPECT_TRUE(window->IsWindow());

    EXPECT_EQ(Fields(window->GetPixelFormatDesc()), (std::vector<int>{1, 0, 1, 2, 32, 8, 8, 24, 8, 0}));
    window->SwapBuffers();
    window = nullptr;
    EXPECT_EQ(wglGetCurrentContext(), nullptr);

    // A multisampled window goes through a dummy window, which is gone afterwards.
    target = std::make_unique<::Test::GLTestWindow>();
    window = Sys::Ptr<GL::WindowContext>(new GL::WindowContext(WindowRequest(4), target->Get()));
    EXPECT_EQ(window->GetPixelFormatDesc().SampleBuffers, 1);
    EXPECT_EQ(Fields(window->GetPixelFormatDesc()), (std::vector<int>{1, 0, 1, 2, 32, 8, 8, 24, 8, 4}));
    EXPECT_FALSE(IsClassRegistered("Dummy Window"));
    window = nullptr;
    ASSERT_TRUE(context->MakeCurrent());
}

TEST_F(ContextClassesTest, FailuresLeaveThePreviousContextCurrentAndNothingBehind)
{
    HideEntryPointForTesting("wglChoosePixelFormatARB");
    EXPECT_EQ(ErrorOf([&] { GL::WindowContext(WindowRequest(4), target->Get()); }),
              "Failed to obtain wglChoosePixelFormatARB entry point.");
    HideEntryPointForTesting("");
    EXPECT_FALSE(IsClassRegistered("Dummy Window"));
    EXPECT_EQ(wglGetCurrentContext(), context->GetRC());

    GL::PixelFormatDesc impossible = WindowRequest();
    impossible.DepthBits = 64;
    EXPECT_EQ(ErrorOf([&] { GL::WindowContext(impossible, target->Get()); }),
              "Appropriate windowed pixel format not found.");
    EXPECT_EQ(wglGetCurrentContext(), context->GetRC());

    // The window keeps no format from the failed attempts: a good request still works.
    Sys::Ptr<GL::WindowContext> window(new GL::WindowContext(WindowRequest(), target->Get()));
    EXPECT_EQ(wglGetCurrentContext(), window->GetRC());
    window = nullptr;
    ASSERT_TRUE(context->MakeCurrent());
}

TEST_F(ContextClassesTest, FloatPBufferIsRefusedHonestly)
{
    GL::PixelFormatDesc desc;
    desc.PixelType = 2;
    desc.RedBits = desc.GreenBits = desc.BlueBits = desc.AlphaBits = 16;
    GL::ExtensionRegistryWGL& wgl = *GL::Extensions->WGL;

    // The server names a float extension but has no float format.
    const bool advertised = wgl.WGL_ARB_pixel_format_float || wgl.WGL_ATI_pixel_format_float
                            || wgl.WGL_NV_float_buffer;
    if (advertised) {
        EXPECT_EQ(ErrorOf([&] { GL::PBuffer(desc, 64, 64); }),
                  "Appropriate pixel format not found.");
        EXPECT_EQ(wglGetCurrentContext(), context->GetRC());
    }

    // Only the NVIDIA form: RGBA with float components, which is not there either.
    wgl.WGL_ARB_pixel_format_float = wgl.WGL_ATI_pixel_format_float = false;
    wgl.WGL_NV_float_buffer = true;
    EXPECT_EQ(ErrorOf([&] { GL::PBuffer(desc, 64, 64); }), "Appropriate pixel format not found.");

    wgl.WGL_NV_float_buffer = false;
    EXPECT_EQ(ErrorOf([&] { GL::PBuffer(desc, 64, 64); }), "Floating-point P-buffer unsupported.");
    EXPECT_EQ(wglGetCurrentContext(), context->GetRC());

    wgl.WGL_ARB_pbuffer = false;
    desc.PixelType = 1;
    EXPECT_EQ(ErrorOf([&] { GL::PBuffer(desc, 64, 64); }), "P-buffer unsupported.");
}

} // namespace
