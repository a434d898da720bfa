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

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

GLint Integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// One texel of a rectangle texture as 0xRRGGBB.
unsigned Texel(const GL::TextureRectangle& texture, int x, int y)
{
    GLint width = 0, height = 0;
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture.GetHandle());
    glGetTexLevelParameteriv(GL_TEXTURE_RECTANGLE_ARB, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_RECTANGLE_ARB, 0, GL_TEXTURE_HEIGHT, &height);
    std::vector<unsigned char> texels(4 * width * height);
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    const unsigned char* t = &texels[4 * (y * width + x)];
    return t[0] << 16 | t[1] << 8 | t[2];
}

} // namespace

class FrameBuffers : public GLFixture {
protected:
    Sys::Ptr<GL::FrameBuffer> Window()
    {
        return Sys::Ptr<GL::FrameBuffer>(new GL::FrameBuffer(
            Sys::Ptr<GL::IContext>(new FixtureContext(dc, context, true)), 256, 256));
    }
    // A square framebuffer object with an RGBA8 rectangle texture for colour.
    static Sys::Ptr<GL::FrameBufferObject> Target(int size)
    {
        Sys::Ptr<GL::FrameBufferObject> fbo(new GL::FrameBufferObject(size, size));
        Sys::Ptr<const GL::TextureRectangle> colour(
            new GL::TextureRectangle(GL_RGBA8, size, size, GL_RGBA, GL_UNSIGNED_BYTE));
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

TEST_F(FrameBuffers, WindowCopiesItsBackBufferIntoItsTexture)
{
    auto window = Window();
    Sys::Ptr<const GL::TextureRectangle> copy(
        new GL::TextureRectangle(GL_RGBA8, 256, 256, GL_RGBA, GL_UNSIGNED_BYTE));
    window->AttachTextureRectangle(GL_BACK, copy);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    window->UpdateTextures();
    EXPECT_EQ(Texel(*copy, 128, 128), 0x00FF00u);
}

TEST_F(FrameBuffers, ObjectCompletenessAndDrawBuffers)
{
    GL::FrameBufferObject fbo(64, 32);
    Sys::Ptr<const GL::TextureRectangle> colour(
        new GL::TextureRectangle(GL_RGBA16F_ARB, 64, 32, GL_RGBA, GL_FLOAT));
    Sys::Ptr<const GL::RenderBuffer> depthStencil(
        new GL::RenderBuffer(GL_DEPTH24_STENCIL8_EXT, 64, 32, 0));

    fbo.Bind();
    EXPECT_EQ(ErrorOf([&] { fbo.CheckStatus(); }), "Framebuffer incomplete missing attachment.");

    fbo.AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, colour);
    fbo.AttachRenderBuffer(GL_DEPTH_ATTACHMENT_EXT, depthStencil);
    fbo.AttachRenderBuffer(GL_STENCIL_ATTACHMENT_EXT, depthStencil);
    fbo.CheckStatus();

    // Detaching the only colour texture leaves a depth-stencil target with no draw buffer.
    fbo.AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, nullptr);
    EXPECT_TRUE(fbo.GetDrawBuffers().empty());
    fbo.CheckStatus();
    EXPECT_EQ(Integer(GL_DRAW_BUFFER), GL_NONE);
    EXPECT_EQ(Integer(GL_READ_BUFFER), GL_NONE);
}

TEST_F(FrameBuffers, DeviceRemembersItsTarget)
{
    auto window = Window();
    GL::RenderDevice_Release device(window);

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
    EXPECT_EQ(std::vector<GLint>(viewport + 2, viewport + 4), (std::vector<GLint>{64, 32}));

    // Setting the bound target again issues no GL call: the binding changed behind the
    // device's back stays as it is.
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    device.SetFrameBuffer(fbo);
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), 0);

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo->GetHandle());
    device.SetFrameBuffer(nullptr);
    EXPECT_TRUE(window->IsBound() && !fbo->IsBound());
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), 0);
    EXPECT_EQ(Integer(GL_DRAW_BUFFER), GL_BACK);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(std::vector<GLint>(viewport + 2, viewport + 4), (std::vector<GLint>{256, 256}));
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

    device.SetTexture(GL_TEXTURE1, rect);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));
    EXPECT_EQ(Integer(GL_TEXTURE_BINDING_RECTANGLE_ARB), static_cast<GLint>(rect->GetHandle()));

    device.SetTexture(GL_TEXTURE1, nullptr);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_RECTANGLE_ARB));

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
    const GL::RasterState block =
        none.Depth(GL_GEQUAL).NoDepthWrite().Colors(false, true, false, true)
            .StencilFunc(GL_NOTEQUAL, 3, 0x0f)
            .StencilOps(GL_ZERO, GL_INCR_WRAP, GL_INVERT, GL_REPLACE, GL_DECR_WRAP, GL_INCR)
            .StencilWrite(0x7f).Culling(GL_FRONT)
            .Blending(GL_SRC_ALPHA, GL_DST_COLOR, GL_FUNC_SUBTRACT).CutNearerThan(2.5f);
    GL::RasterState faces = block;
    faces.Back.Func = GL_LEQUAL;
    faces.Back.Ref = 5;
    // The cut lies in eye space whatever model-view matrix is loaded, and leaves it loaded.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1.0f, 2.0f, 3.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    GLfloat modelView[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
    device.SetRasterState(faces);
    EXPECT_EQ(RasterStateReadBack(), faces);
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(modelView, modelView + 16, after));
    glLoadIdentity();

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
    Sys::Ptr<GL::FrameBufferObject> fbo = Target(16);
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

    const GL::VertexFormat format(GL::VertexFormat::TwoFloatsAtZero{});
    Sys::Ptr<GL::VertexBuffer> vertices(new GL::VertexBuffer(format, 4, GL_STATIC_DRAW));
    const float quad[8] = {-1, -1, 1, -1, 1, 1, -1, 1};
    std::memcpy(vertices->Map(), quad, sizeof(quad));
    vertices->Unmap();
    // Six degenerate indices first: drawing from index 0 would leave the target black.
    Sys::Ptr<GL::IndexBuffer> indices(new GL::IndexBuffer(12, GL_STATIC_DRAW));
    const unsigned short list[12] = {0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 2, 3};
    indices->SetData(12, list);

    device.SetVertexFormat(format);
    device.SetVertexBuffer(Sys::Ptr<const GL::VertexBuffer>(vertices));
    device.SetIndexBuffer(Sys::Ptr<const GL::IndexBuffer>(indices));
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    device.DrawElements(GL_TRIANGLES, 6, 6);
    unsigned char pixel[4] = {};
    glReadPixels(8, 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 255);

    device.SetProgram(nullptr);
    device.SetVertexFormat(GL::VertexFormat());
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
    offscreen->AttachTextureRectangle(GL_BACK, copy);

    device.SetFrameBuffer(offscreen);
    EXPECT_EQ(Platform::wglGetCurrentContext(), context->GetRC());
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    offscreen->UpdateTextures();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    device.SetFrameBuffer(nullptr);
    EXPECT_EQ(Platform::wglGetCurrentContext(), GLFixture::context);
    EXPECT_EQ(Texel(*copy, 30, 20), 0x0000FFu);
}

// The whole source lands on the whole (larger) destination.
TEST_F(FrameBuffers, BlitCoversTheWholeDestination)
{
    GL::RenderDevice_Release device(Window());
    Sys::Ptr<GL::FrameBufferObject> source = Target(16), target = Target(64);
    device.SetFrameBuffer(source);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    device.BlitFrameBuffer(target, source, GL_COLOR_BUFFER_BIT, GL_NEAREST);

    device.SetFrameBuffer(target);
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), static_cast<GLint>(target->GetHandle()));
    unsigned char corner[4] = {};
    glReadPixels(63, 63, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
    EXPECT_EQ(corner[0], 255);
    device.SetFrameBuffer(nullptr);
}
