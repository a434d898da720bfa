#include "app/DeveloperException.h"
#include "gl/FragmentShader.h"
#include "gl/FrameBuffer.h"
#include "gl/ExtensionRegistry.h"
#include "gl/FrameBufferObject.h"
#include "gl/PBuffer.h"
#include "gl/Program.h"
#include "gl/RenderDevice_Release.h"
#include "gl/Texture2D.h"
#include "gl/TextureRectangle.h"
#include "gl/VertexShader.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/FixtureContext.h"
#include "tests/support/RasterStateReadBack.h"

#include <GL/glew.h>

#include <string>
#include <vector>

namespace {

GLint Integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

} // namespace

class FrameBuffers : public GLFixture {
protected:
    Sys::Ptr<GL::IContext> WindowContext()
    {
        return Sys::Ptr<GL::IContext>(new FixtureContext(dc, context, true));
    }
    Sys::Ptr<GL::FrameBuffer> Window()
    {
        return Sys::Ptr<GL::FrameBuffer>(new GL::FrameBuffer(WindowContext(), 256, 256));
    }
    // A 16 x 16 framebuffer object with an RGBA8 rectangle texture for colour.
    static Sys::Ptr<GL::FrameBufferObject> SmallTarget()
    {
        Sys::Ptr<GL::FrameBufferObject> fbo(new GL::FrameBufferObject(16, 16));
        Sys::Ptr<const GL::TextureRectangle> colour(
            new GL::TextureRectangle(GL_RGBA8, 16, 16, GL_RGBA, GL_UNSIGNED_BYTE));
        fbo->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, colour);
        return fbo;
    }
    void TearDown() override
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        GLFixture::TearDown();
    }
};

TEST_F(FrameBuffers, WindowFormsCheckTheirContext)
{
    auto window = Window();
    EXPECT_EQ(window->GetKind(), GL::IFrameBuffer::KIND_WINDOW);
    EXPECT_EQ(*window->GetDrawBuffers().begin(), static_cast<GLenum>(GL_BACK));
    EXPECT_FALSE(window->IsBound());

    Sys::Ptr<GL::IContext> offscreen(new FixtureContext(dc, context, false));
    EXPECT_EQ(ErrorOf([&] { GL::FrameBuffer(offscreen, 8, 8); }),
              "ERR_INVALID_PARAMETER\nInvalid <Context> parameter. Should be windowed rendering "
              "context.");
    EXPECT_EQ(ErrorOf([&] { GL::FrameBuffer{WindowContext()}; }),
              "ERR_INVALID_PARAMETER\nInvalid <Context> parameter. Should be offscreen p-buffer.");
    EXPECT_THROW(window->AttachTexture2D(GL_COLOR_ATTACHMENT0_EXT, nullptr),
                 Sys::DeveloperException);

    // A window framebuffer copies its back buffer into an attached texture.
    Sys::Ptr<const GL::TextureRectangle> copy(
        new GL::TextureRectangle(GL_RGBA8, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE));
    window->AttachTextureRectangle(GL_BACK, copy);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    window->UpdateTextures();
    unsigned char texel[256 * 256 * 4] = {};
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, copy->GetHandle());
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    EXPECT_EQ(texel[4 * (128 * 256 + 128) + 1], 255);
    EXPECT_EQ(texel[4 * (128 * 256 + 128) + 0], 0);
}

TEST_F(FrameBuffers, ObjectCompletenessAndAttachmentChecks)
{
    GL::FrameBufferObject fbo(64, 32);
    Sys::Ptr<const GL::TextureRectangle> colour(
        new GL::TextureRectangle(GL_RGBA16F_ARB, 64, 32, GL_RGBA, GL_FLOAT));
    Sys::Ptr<const GL::RenderBuffer> depthStencil(
        new GL::RenderBuffer(GL_DEPTH24_STENCIL8_EXT, 64, 32, 0));
    Sys::Ptr<const GL::Texture2D> plain(
        new GL::Texture2D(GL_RGBA8, 64, 32, GL_RGBA, GL_UNSIGNED_BYTE, nullptr));

    EXPECT_EQ(ErrorOf([&] { fbo.AttachTexture2D(GL_STENCIL_ATTACHMENT_EXT, plain); }),
              "Invalid <Attachment> parameter.");
    EXPECT_THROW(fbo.AttachRenderBuffer(GL_STENCIL_ATTACHMENT_EXT + 1, depthStencil),
                 Sys::DeveloperException);

    fbo.Bind();
    EXPECT_EQ(ErrorOf([&] { fbo.CheckStatus(); }), "Framebuffer incomplete missing attachment.");

    fbo.AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, colour);
    fbo.AttachRenderBuffer(GL_DEPTH_ATTACHMENT_EXT, depthStencil);
    fbo.AttachRenderBuffer(GL_STENCIL_ATTACHMENT_EXT, depthStencil);
    EXPECT_EQ(fbo.GetDrawBuffers().size(), 1u);
    fbo.CheckStatus();

    // Detaching the only colour texture leaves a depth-stencil target with no draw buffer.
    fbo.AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, nullptr);
    EXPECT_TRUE(fbo.GetDrawBuffers().empty());
    fbo.CheckStatus();
    EXPECT_EQ(Integer(GL_DRAW_BUFFER), GL_NONE);
    EXPECT_EQ(Integer(GL_READ_BUFFER), GL_NONE);

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    EXPECT_EQ(ErrorOf([&] { fbo.CheckStatus(); }),
              "Invalid ::CheckStatus() call. Framebuffer should be current.");
    EXPECT_EQ(ErrorOf([] { GL::FrameBufferObject(4, 4, GL_TEXTURE_2D); }),
              "ERR_INVALID_ENUM\nInvalid <Target> parameter.");
}

TEST_F(FrameBuffers, DeviceRemembersItsTarget)
{
    auto window = Window();
    EXPECT_THROW(GL::RenderDevice_Release(Sys::Ptr<GL::IFrameBuffer>(
                     new GL::FrameBufferObject(4, 4))),
                 Sys::DeveloperException);
    GL::RenderDevice_Release device(window);
    EXPECT_GT(device.MaxVertexAttribs, 0);

    Sys::Ptr<GL::FrameBufferObject> fbo(new GL::FrameBufferObject(64, 32));
    Sys::Ptr<const GL::TextureRectangle> colour(
        new GL::TextureRectangle(GL_RGBA8, 64, 32, GL_RGBA, GL_UNSIGNED_BYTE));
    fbo->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, colour);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    device.SetFrameBuffer(fbo);
    EXPECT_TRUE(fbo->IsBound());
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), static_cast<GLint>(fbo->GetHandle()));
    EXPECT_EQ(Integer(GL_DRAW_BUFFER), GL_COLOR_ATTACHMENT0_EXT);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 32);

    // Setting the bound target again issues no GL call: the binding changed behind the
    // device's back stays as it is.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    device.SetFrameBuffer(fbo);
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), 0);

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo->GetHandle());
    device.SetFrameBuffer(nullptr);
    EXPECT_FALSE(fbo->IsBound());
    EXPECT_TRUE(window->IsBound());
    EXPECT_TRUE(device.CurrentFrameBuffer == Sys::Ptr<GL::IFrameBuffer>(window));
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
    EXPECT_EQ(Integer(GL_DRAW_BUFFER), GL_BACK);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 256);
    EXPECT_EQ(viewport[3], 256);
}

TEST_F(FrameBuffers, DeviceTextureUnits)
{
    GL::RenderDevice_Release device(Window());
    Sys::Ptr<const GL::ITexture> flat(
        new GL::Texture2D(GL_RGBA8, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, nullptr));
    Sys::Ptr<const GL::ITexture> rect(
        new GL::TextureRectangle(GL_RGBA8, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE));

    device.SetTexture(GL_TEXTURE1, flat);
    glActiveTexture(GL_TEXTURE1);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_2D), static_cast<GLint>(flat->GetHandle()));
    EXPECT_TRUE(device.Textures[1] == flat);

    device.SetTexture(GL_TEXTURE1, rect);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_RECTANGLE_ARB), static_cast<GLint>(rect->GetHandle()));

    device.SetTexture(GL_TEXTURE1, nullptr);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    EXPECT_TRUE(device.Textures[1].IsEmpty());

    // A unit past the fixed-function ones still binds for shaders.
    GLint fixedUnits = 0;
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &fixedUnits);
    if (fixedUnits < device.MaxTextureImageUnits) {
        device.SetTexture(GL_TEXTURE0 + fixedUnits, rect);
        EXPECT_EQ(Integer(GL_TEXTURE_BINDING_RECTANGLE_ARB),
                  static_cast<GLint>(rect->GetHandle()));
        device.SetTexture(GL_TEXTURE0 + fixedUnits, nullptr);
    }

    device.SetTexture(GL_TEXTURE0, flat);
    device.CopyPixels(0, 0, 4, 4, GL_COLOR);
    glActiveTexture(GL_TEXTURE0);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(device.Textures[0].IsEmpty());
}

TEST_F(FrameBuffers, DeviceRasterStateIssuesOnlyTheDifference)
{
    GL::RenderDevice_Release device(Window());
    device.ForgetState();   // earlier tests drew in this context
    const GL::RasterState none;
    device.SetRasterState(none);
    EXPECT_EQ(RasterStateReadBack(), none);

    // Every field away from its default, the faces apart.
    const GL::RasterState block = none.Depth(GL_GEQUAL)
                                      .NoDepthWrite()
                                      .Colors(false, true, false, true)
                                      .StencilFunc(GL_NOTEQUAL, 3, 0x0f)
                                      .StencilOps(GL_ZERO, GL_INCR_WRAP, GL_INVERT, GL_REPLACE,
                                                  GL_DECR_WRAP, GL_INCR)
                                      .StencilWrite(0x7f)
                                      .Culling(GL_FRONT)
                                      .Blending(GL_SRC_ALPHA, GL_DST_COLOR, GL_FUNC_SUBTRACT);
    GL::RasterState faces = block;
    faces.Back.Func = GL_LEQUAL;
    faces.Back.Ref = 5;
    device.SetRasterState(faces);
    EXPECT_EQ(RasterStateReadBack(), faces);

    // The same block again costs nothing; one field changed costs one call, also where
    // the faces come together again.
    const long calls = device.StateCalls;
    device.SetRasterState(faces);
    EXPECT_EQ(device.StateCalls, calls);
    device.SetRasterState(block);
    EXPECT_EQ(device.StateCalls, calls + 1);
    EXPECT_EQ(RasterStateReadBack(), block);
    device.SetRasterState(block.NoCull());
    EXPECT_EQ(device.StateCalls, calls + 2);

    // Changed behind its back: the device believes its memory until told to forget.
    glDepthFunc(GL_ALWAYS);
    device.SetRasterState(block);
    EXPECT_EQ(RasterStateReadBack().DepthFunc, GLenum(GL_ALWAYS));
    device.ForgetState();
    device.SetRasterState(block);
    EXPECT_EQ(RasterStateReadBack(), block);

    // Attribute arrays are remembered the same way.
    GL::VertexFormat two;
    two.AddAttribute(0, 3, GL_FLOAT);
    two.AddAttribute(1, 3, GL_FLOAT);
    two.Compile();
    device.ForgetState();
    device.SetVertexFormat(two);
    GLint enabled = 0;
    glGetVertexAttribiv(1, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, 1);
    const long attributeCalls = device.StateCalls;
    device.SetVertexFormat(two);
    EXPECT_EQ(device.StateCalls, attributeCalls);

    // The depth-bounds test where the driver has it, a refusal where it has not.
    const GL::RasterState bounded = none.DepthBoundsTest(0.25f, 0.75f);
    if (GL::Extensions && GL::Extensions->GL_EXT_depth_bounds_test) {
        device.SetRasterState(bounded);
        GLfloat range[2] = {0.0f, 0.0f};
        glGetFloatv(GL_DEPTH_BOUNDS_EXT, range);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_BOUNDS_TEST_EXT));
        EXPECT_EQ(range[0], 0.25f);
        EXPECT_EQ(range[1], 0.75f);
    } else {
        EXPECT_THROW(device.SetRasterState(bounded), Sys::DeveloperException);
    }

    device.SetVertexFormat(GL::VertexFormat());
    device.SetRasterState(none);
    EXPECT_EQ(RasterStateReadBack(), none);
    if (GL::Extensions && GL::Extensions->GL_EXT_depth_bounds_test) {
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_BOUNDS_TEST_EXT));
    }
}

TEST_F(FrameBuffers, IndexedDrawStartsAtTheIndexOffset)
{
    GL::RenderDevice_Release device(Window());
    Sys::Ptr<GL::FrameBufferObject> fbo = SmallTarget();
    device.SetFrameBuffer(fbo);
    fbo->CheckStatus();

    Sys::Ptr<const GL::IShader> vs(new GL::VertexShader(
        "attribute vec2 in_Position;\nvoid main() { gl_Position = vec4(in_Position, 0.0, 1.0); }\n"));
    Sys::Ptr<const GL::IShader> fs(
        new GL::FragmentShader("void main() { gl_FragColor = vec4(1.0, 0.0, 0.0, 1.0); }\n"));
    Sys::Ptr<GL::Program> program(new GL::Program());
    program->AttachShader(vs);
    program->AttachShader(fs);
    program->BindAttribute("in_Position", 0);
    program->Link();
    device.SetProgram(program);
    EXPECT_EQ(Integer(GL_CURRENT_PROGRAM), static_cast<GLint>(program->GetHandle()));

    const GL::VertexFormat format(GL::VertexFormat::TwoFloatsAtZero{});
    Sys::Ptr<GL::VertexBuffer> vertices(new GL::VertexBuffer(format, 4, GL_STATIC_DRAW));
    float* corner = static_cast<float*>(vertices->Map());
    const float quad[8] = {-1, -1, 1, -1, 1, 1, -1, 1};
    for (int i = 0; i < 8; ++i)
        corner[i] = quad[i];
    vertices->Unmap();
    // Six degenerate indices first: drawing from index 0 would leave the target black.
    Sys::Ptr<GL::IndexBuffer> indices(new GL::IndexBuffer(12, GL_STATIC_DRAW));
    const unsigned short list[12] = {0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 2, 3};
    indices->SetData(12, list);

    device.SetVertexFormat(format);
    device.SetVertexBuffer(Sys::Ptr<const GL::VertexBuffer>(vertices));
    device.SetIndexBuffer(Sys::Ptr<const GL::IndexBuffer>(indices));
    EXPECT_EQ(device.IndexSize, 2);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    device.DrawElements(GL_TRIANGLES, 6, 6);
    unsigned char pixel[4] = {};
    glReadPixels(8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);

    device.SetProgram(nullptr);
    EXPECT_EQ(Integer(GL_CURRENT_PROGRAM), 0);
    device.SetVertexFormat(GL::VertexFormat());
    GLint enabled = 1;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, 0);
    device.SetVertexBuffer(Sys::Ptr<const GL::IVertexBufferObject>(), 0);
    device.SetIndexBuffer(Sys::Ptr<const GL::IVertexBufferObject>(), GL_UNSIGNED_SHORT);
    device.SetFrameBuffer(nullptr);
}

TEST_F(FrameBuffers, PBufferPictureReachesItsTexture)
{
    GL::RenderDevice_Release device(Window());
    // Double-buffered and without alpha: the configurations that draw cleanly on Xvfb.
    GL::PixelFormatDesc desc;
    desc.DoubleBuffer = true;
    desc.ColorBits = 24;
    desc.RedBits = desc.GreenBits = desc.BlueBits = 8;
    Sys::Ptr<const GL::TextureRectangle> copy(
        new GL::TextureRectangle(GL_RGBA8, 64, 48, GL_RGBA, GL_UNSIGNED_BYTE));
    Sys::Ptr<GL::IContext> context(new GL::PBuffer(desc, 64, 48));
    Sys::Ptr<GL::FrameBuffer> offscreen(new GL::FrameBuffer(context));
    EXPECT_EQ(offscreen->GetKind(), GL::IFrameBuffer::KIND_PBUFFER);
    EXPECT_EQ(offscreen->GetWidth(), 64);
    EXPECT_EQ(offscreen->GetHeight(), 48);
    offscreen->AttachTextureRectangle(GL_BACK, copy);

    device.SetFrameBuffer(offscreen);
    EXPECT_EQ(Platform::wglGetCurrentContext(), context->GetRC());
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    offscreen->UpdateTextures();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    device.SetFrameBuffer(nullptr);
    EXPECT_EQ(Platform::wglGetCurrentContext(), GLFixture::context);
    std::vector<unsigned char> texels(64 * 48 * 4);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, copy->GetHandle());
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[4 * (20 * 64 + 30) + 2], 255);
    EXPECT_EQ(texels[4 * (20 * 64 + 30) + 0], 0);
}

TEST_F(FrameBuffers, SeveralColourTargetsAndBlits)
{
    GL::RenderDevice_Release device(Window());
    Sys::Ptr<GL::FrameBufferObject> source(new GL::FrameBufferObject(32, 32));
    Sys::Ptr<const GL::TextureRectangle> first(
        new GL::TextureRectangle(GL_RGBA8, 32, 32, GL_RGBA, GL_UNSIGNED_BYTE));
    Sys::Ptr<const GL::TextureRectangle> second(
        new GL::TextureRectangle(GL_RGBA8, 32, 32, GL_RGBA, GL_UNSIGNED_BYTE));
    source->AttachTextureRectangle(GL_COLOR_ATTACHMENT1_EXT, second);
    source->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, first);

    // Both targets are drawn, in attachment order whatever the order of attaching.
    device.SetFrameBuffer(source);
    EXPECT_EQ(Integer(GL_DRAW_BUFFER0), GL_COLOR_ATTACHMENT0_EXT);
    EXPECT_EQ(Integer(GL_DRAW_BUFFER1), GL_COLOR_ATTACHMENT1_EXT);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // The whole source lands on the whole (larger) destination.
    Sys::Ptr<GL::FrameBufferObject> target(new GL::FrameBufferObject(64, 64));
    Sys::Ptr<const GL::TextureRectangle> large(
        new GL::TextureRectangle(GL_RGBA8, 64, 64, GL_RGBA, GL_UNSIGNED_BYTE));
    target->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, large);
    glReadBuffer(GL_COLOR_ATTACHMENT1_EXT);
    device.BlitFrameBuffer(target, source, GL_COLOR_BUFFER_BIT, GL_NEAREST);

    device.SetFrameBuffer(target);
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), static_cast<GLint>(target->GetHandle()));
    unsigned char corner[4] = {};
    glReadPixels(63, 63, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(corner[0], 255);
    device.SetFrameBuffer(nullptr);
}

TEST_F(FrameBuffers, PixelCopiesThroughBuffersRestoreState)
{
    GL::RenderDevice_Release device(Window());
    Sys::Ptr<GL::FrameBufferObject> fbo = SmallTarget();
    device.SetFrameBuffer(fbo);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    Sys::Ptr<const GL::PixelBuffer> pixels(new GL::PixelBuffer(16 * 16 * 4));
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_STENCIL_TEST);
    device.CopyPixels(pixels, pixels, 0, 0, 16, 16, GL_RGBA, GL_UNSIGNED_BYTE);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_EQ(Integer(GL_PIXEL_PACK_BUFFER_BINDING), 0);
    EXPECT_EQ(Integer(GL_PIXEL_UNPACK_BUFFER_BINDING), 0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);

    // The picture went through the buffer and came back unchanged.
    unsigned char pixel[4] = {};
    glReadPixels(5, 5, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[1], 255);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pixels->GetHandle());
    unsigned char stored[4] = {};
    glGetBufferSubData(GL_PIXEL_PACK_BUFFER, 4 * (5 * 16 + 5), 4, stored);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    EXPECT_EQ(stored[1], 255);
    EXPECT_EQ(stored[0], 0);
    device.SetFrameBuffer(nullptr);
}
