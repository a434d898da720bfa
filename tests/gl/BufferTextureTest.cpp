#include "app/DeveloperException.h"
#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/ErrorCheck.h"
#include "gl/ExtensionRegistry.h"
#include "gl/IndexBuffer.h"
#include "gl/PixelBuffer.h"
#include "gl/Texture2D.h"
#include "gl/TextureRectangle.h"
#include "gl/VertexBuffer.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/ErrorOf.h"

#include <GL/glew.h>

#include <string>
#include <vector>

using Buffers = GLFixture;
using Textures = GLFixture;

TEST_F(Buffers, VertexFormatIsLaidOutByAscendingIndex)
{
    GL::VertexFormat format;
    format.AddAttribute(0, 3, GL_FLOAT);
    format.AddAttribute(2, 2, GL_FLOAT);
    format.AddAttribute(1, 3, GL_SHORT);
    format.Compile();
    EXPECT_EQ(format.Get(0).Offset, 0);
    EXPECT_EQ(format.Get(1).Offset, 12);
    EXPECT_EQ(format.Get(2).Offset, 18);
    EXPECT_EQ(format.GetVertexSize(), 26);
}

TEST_F(Buffers, VertexBufferResizeKeepsUsage)
{
    GL::VertexFormat format;
    format.AddAttribute(0, 3, GL_FLOAT);
    format.Compile();
    GL::VertexBuffer buffer(format, 4, GL_STREAM_DRAW);
    EXPECT_EQ(buffer.GetSizeInBytes(), 48);
    buffer.Resize(10);
    EXPECT_EQ(buffer.GetNumVertices(), 10);
    GLint usage = 0, size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffer.GetHandle());
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(usage, GL_STREAM_DRAW);
    EXPECT_EQ(size, 120);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

// Index buffers are filled whole by SetData and never mapped.
TEST_F(Buffers, IndexBufferSetDataBounds)
{
    GL::IndexBuffer indices(100, GL_STATIC_DRAW);
    std::vector<unsigned short> data(101);
    for (int i = 0; i < 101; ++i)
        data[i] = static_cast<unsigned short>(i * 3);
    indices.SetData(100, data.data());
    EXPECT_EQ(ErrorOf([&] { indices.SetData(101, data.data()); }),
              "Invalid <OffsetIndices> or <CopyIndices> parameter.");
    unsigned short last = 0;
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 99 * sizeof(last), sizeof(last), &last);
    EXPECT_EQ(last, 297);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// The program only makes pixel buffers and reads into them by handle.
TEST_F(Buffers, PixelBufferLeavesNoPackBufferBound)
{
    GL::PixelBuffer pixels(64);
    GLint bound = -1;
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(Textures, DriverRefusalsBecomeTextureErrors)
{
    GL::Texture2D lookup(GL_LUMINANCE16, 256, 256, GL_LUMINANCE, GL_UNSIGNED_SHORT, nullptr);
    // A mipmap filter passes the list check for magnification; GL refuses it, and the
    // texture's form of the error text says so.
    EXPECT_EQ(ErrorOf([&] { lookup.SetFilter(GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST); }),
              "GL_INVALID_ENUM\nFailed to set texture filter.");
    lookup.SetFilter(GL_NEAREST, GL_LINEAR_MIPMAP_LINEAR);
    lookup.SetWrap(GL_CLAMP_TO_EDGE, GL_REPEAT);
    GLint wrapT = 0;
    glBindTexture(GL_TEXTURE_2D, lookup.GetHandle());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(wrapT, GL_REPEAT);
    EXPECT_EQ(ErrorOf([] { GL::Texture2D(GL_RGBA8, -1, 4, GL_RGBA, GL_UNSIGNED_BYTE, nullptr); }),
              "GL_INVALID_VALUE\nFailed to create 2D texture.");
}

TEST_F(Textures, RectangleAllocationIgnoresABoundUnpackBuffer)
{
    GL::PixelBuffer pixels(16);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, pixels.GetHandle());
    // 64 x 64 RGBA floats would read far past the 16 bytes of the bound buffer.
    GL::TextureRectangle target(GL_RGBA16F_ARB, 64, 64, GL_RGBA, GL_FLOAT);
    GLint unpack = -1;
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack);
    EXPECT_EQ(unpack, 0);
    GLint width = 0;
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, target.GetHandle());
    glGetTexLevelParameteriv(GL_TEXTURE_RECTANGLE_ARB, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 64);
}

namespace {

struct Pass : Sys::IRTTIObject {
    std::string GetTypeName() const override { return "Korvo::Renderer"; }
};

} // namespace

using ErrorChecks = GLFixture;

TEST_F(ErrorChecks, PassChecksFollowTheSwitch)
{
    const Pass pass;
    r_GL_CatchErrors.value = false;
    glEnd();  // GL_INVALID_OPERATION outside glBegin
    GL::CheckErrors(pass, "DrawDepthPass");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_INVALID_OPERATION)) << "the check read the flag";

    r_GL_CatchErrors.value = true;
    glEnd();
    EXPECT_EQ(ErrorOf([&] { GL::CheckErrors(pass, "DrawDepthPass"); }),
              "Korvo::Renderer\n\nGL_INVALID_OPERATION\nAn OpenGL error has occured in "
              "::DrawDepthPass().\nTry to set r_GL_CatchErrors to 0.");
    GL::CheckErrors(pass, "DrawAmbientPass");
}
