#include "app/Exception.h"
#include "config/CVars.h"
#include "gl/FrameBufferObject.h"
#include "gl/IFrameBuffer.h"
#include "gl/TextureRectangle.h"
#include "render/Frame.h"
#include "render/FrameEx.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/TestFiles.h"

#include <GL/glew.h>

#include <string>
#include <vector>

namespace {

using TestFiles::Count;
using TestFiles::ReadLog;

// The first texel of a rectangle texture, as floats.
std::vector<float> FirstTexel(const GL::TextureRectangle& texture)
{
    std::vector<float> texels(4 * texture.GetWidth() * texture.GetHeight());
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture.GetHandle());
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
    texels.resize(4);
    return texels;
}

class FrameSets : public GLFixture {
protected:
    void SetUp() override
    {
        GLFixture::SetUp();
        framebufferObject = r_GL_FramebufferObject.value;
        downsample = r_Shadow_Downsample.value;
    }
    void TearDown() override
    {
        r_GL_FramebufferObject.value = framebufferObject;
        r_Shadow_Downsample.value = downsample;
        // Making a P-buffer leaves its context current.
        Platform::wglMakeCurrent(dc, context);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        GLFixture::TearDown();
    }
    bool framebufferObject = false;
    bool downsample = false;
};

TEST_F(FrameSets, HardSetDrawsIntoItsColourTextureOnTheFramebufferObjectPath)
{
    r_GL_FramebufferObject.value = true;
    for (int samples : {0, 4}) {
        const int before = Count(ReadLog(), "FBO codepath selected.\n");
        Korvo::Frame frame(64, 48, samples);
        EXPECT_EQ(Count(ReadLog(), "FBO codepath selected.\n"), before + 1);
        ASSERT_TRUE(frame.UsesFramebufferObjects());
        ASSERT_EQ(frame.GetFrameBuffer(0)->GetKind(), GL::IFrameBuffer::KIND_FBO);
        EXPECT_EQ(frame.GetColorTexture()->GetWidth(), 64);
        EXPECT_EQ(frame.GetColorTexture()->GetHeight(), 48);
        EXPECT_EQ(static_cast<bool>(frame.GetFrameBuffer(1)), samples > 0);

        auto target = Sys::Ptr<GL::FrameBufferObject>::StaticFrom(frame.GetFrameBuffer(0));
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, target->GetHandle());
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        if (samples > 0) {
            // The multisampled picture reaches the texture through the resolve.
            auto resolve = Sys::Ptr<GL::FrameBufferObject>::StaticFrom(frame.GetFrameBuffer(1));
            glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, target->GetHandle());
            glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, resolve->GetHandle());
            glBlitFramebufferEXT(0, 0, 64, 48, 0, 0, 64, 48, GL_COLOR_BUFFER_BIT, GL_NEAREST);
        }
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        const std::vector<float> texel = FirstTexel(*frame.GetColorTexture());
        EXPECT_EQ(texel[0], 1.0f) << samples;
        EXPECT_EQ(texel[1], 0.0f) << samples;
    }
}

TEST_F(FrameSets, SoftSetIsSevenFramebufferObjectsSharingDepthBySize)
{
    r_GL_FramebufferObject.value = true;
    for (bool half : {false, true}) {
        r_Shadow_Downsample.value = half;
        Korvo::FrameEx frame(65, 49, 0);
        ASSERT_TRUE(frame.UsesFramebufferObjects());
        EXPECT_EQ(frame.GetShadowWidth(), half ? 32 : 65);
        EXPECT_EQ(frame.GetShadowHeight(), half ? 24 : 49);
        for (int i = 0; i < Korvo::FrameEx::TargetCount; ++i) {
            ASSERT_TRUE(frame.GetFrameBuffer(i)) << i;
            EXPECT_EQ(frame.GetFrameBuffer(i)->GetKind(), GL::IFrameBuffer::KIND_FBO) << i;
            const bool full = i == 0 || i == 6;
            EXPECT_EQ(frame.GetTexture(i)->GetWidth(), full ? 65 : frame.GetShadowWidth()) << i;
        }
        // Depth written through the full-size pre-pass target is what the picture target
        // tests against.
        auto bind = [&frame](int i) {
            glBindFramebufferEXT(
                GL_FRAMEBUFFER_EXT,
                Sys::Ptr<GL::FrameBufferObject>::StaticFrom(frame.GetFrameBuffer(i))->GetHandle());
        };
        bind(0);
        glDepthMask(1);
        glClearDepth(0.25);
        glClear(GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        float depth = 0;
        bind(6);
        glReadPixels(0, 0, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
        EXPECT_NEAR(depth, 0.25f, 1e-6f);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    }
}

TEST_F(FrameSets, PBufferPathWhenNotAskedForFramebufferObjects)
{
    r_GL_FramebufferObject.value = false;
    const int before = Count(ReadLog(), "P-buffer codepath selected.\n");
    {
        Korvo::Frame frame(64, 48, 0);
        EXPECT_FALSE(frame.UsesFramebufferObjects());
        EXPECT_EQ(frame.GetFrameBuffer(0)->GetKind(), GL::IFrameBuffer::KIND_PBUFFER);
        EXPECT_FALSE(frame.GetFrameBuffer(1));
    }
    Platform::wglMakeCurrent(dc, context);
    // The soft set needs a floating-point P-buffer, which this X server does not offer:
    // construction fails with the platform's message instead of pretending.
    EXPECT_THROW(Korvo::FrameEx frame(64, 48, 0), Sys::Exception);
    Platform::wglMakeCurrent(dc, context);
    EXPECT_EQ(Count(ReadLog(), "P-buffer codepath selected.\n"), before + 2);
    glGetError();
}

} // namespace
