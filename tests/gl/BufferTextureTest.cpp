#include "app/DeveloperException.h"
#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/ErrorCheck.h"
#include "gl/ExtensionRegistry.h"
#include "gl/IndexBuffer.h"
#include "gl/PixelBuffer.h"
#include "gl/Texture2D.h"
#include "gl/TextureCubeMap.h"
#include "gl/TextureRectangle.h"
#include "gl/VertexBuffer.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/ErrorOf.h"

#include <GL/glew.h>

#include <cstring>
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

    const int limit = GL::Caps->MaxVertexAttribs;
    ASSERT_GT(limit, 2);
    EXPECT_EQ(ErrorOf([&] { format.AddAttribute(limit, 1, GL_FLOAT); }),
              "Invalid <Index> attribute. Generic attribute <" + std::to_string(limit) +
                  "> exceed implementation-dependent constant GL_MAX_VERTEX_ATTRIBS (" +
                  std::to_string(limit) + ").");
    EXPECT_EQ(ErrorOf([&] { format.AddAttribute(2, 1, GL_FLOAT); }),
              "Generic attribute <2> already exist in attribute list.");
    EXPECT_THROW(format.AddAttribute(3, 1, GL_INT), Sys::DeveloperException);

    const GL::VertexFormat quad(GL::VertexFormat::TwoFloatsAtZero{});
    EXPECT_TRUE(quad.IsCompiled());
    EXPECT_EQ(quad.GetVertexSize(), 8);
}

TEST_F(Buffers, VertexBufferChecksAndResizeKeepsUsage)
{
    GL::VertexFormat uncompiled;
    uncompiled.AddAttribute(0, 3, GL_FLOAT);
    EXPECT_THROW(GL::VertexBuffer(uncompiled, 4, GL_STATIC_DRAW), Sys::DeveloperException);
    uncompiled.Compile();
    EXPECT_THROW(GL::VertexBuffer(uncompiled, 0, GL_STATIC_DRAW), Sys::DeveloperException);
    EXPECT_THROW(GL::VertexBuffer(uncompiled, 4, GL_DYNAMIC_DRAW), Sys::DeveloperException);

    GL::VertexBuffer buffer(uncompiled, 4, GL_STREAM_DRAW);
    EXPECT_EQ(buffer.GetSizeInBytes(), 48);
    buffer.Resize(10);
    EXPECT_EQ(buffer.GetNumVertices(), 10);
    GLint usage = 0, size = 0;
    glBindBuffer(GL_ARRAY_BUFFER, buffer.GetHandle());
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(usage, GL_STREAM_DRAW);
    EXPECT_EQ(size, 120);
    EXPECT_THROW(buffer.Resize(0), Sys::DeveloperException);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

TEST_F(Buffers, IndexBufferSetDataBoundsAndMapping)
{
    GL::IndexBuffer indices(100, GL_STATIC_DRAW);
    std::vector<unsigned short> data(101);
    for (int i = 0; i < 101; ++i)
        data[i] = static_cast<unsigned short>(i * 3);
    indices.SetData(100, data.data());
    EXPECT_EQ(ErrorOf([&] { indices.SetData(101, data.data()); }),
              "Invalid <OffsetIndices> or <CopyIndices> parameter.");
    EXPECT_THROW(indices.SetData(1, nullptr), Sys::DeveloperException);

    unsigned short readBack[100] = {};
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof(readBack), readBack);
    EXPECT_EQ(readBack[99], 297);

    // A mapping written through reaches the buffer.
    auto* mapped = static_cast<unsigned short*>(indices.Map());
    ASSERT_NE(mapped, nullptr);
    mapped[0] = 7;
    mapped[99] = 11;
    indices.Unmap();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indices.GetHandle());
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, sizeof(readBack), readBack);
    EXPECT_EQ(readBack[0], 7);
    EXPECT_EQ(readBack[99], 11);

    // Unmapping a buffer that is not mapped is refused by GL; the error is ours to drop.
    EXPECT_THROW(indices.Unmap(), Sys::Exception);
    glGetError();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

TEST_F(Buffers, PixelBufferLeavesNoPackBufferBound)
{
    EXPECT_THROW(GL::PixelBuffer(0), Sys::DeveloperException);
    GL::PixelBuffer pixels(64);
    EXPECT_EQ(pixels.GetSizeInBytes(), 64);
    void* mapped = pixels.Map();
    std::memset(mapped, 0x5A, 64);
    pixels.Unmap();
    pixels.Resize(128);
    GLint bound = -1;
    glGetIntegerv(GL_PIXEL_PACK_BUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
}

TEST_F(Textures, ParametersAreCheckedBeforeTheTextureIsTouched)
{
    GL::Texture2D lookup(GL_LUMINANCE16, 256, 256, GL_LUMINANCE, GL_UNSIGNED_SHORT, nullptr);
    // A mipmap filter passes the list check for magnification too; GL itself refuses it.
    EXPECT_EQ(ErrorOf([&] { lookup.SetFilter(GL_LINEAR_MIPMAP_LINEAR, GL_NEAREST); }),
              "GL_INVALID_ENUM\nFailed to set texture filter.");
    lookup.SetFilter(GL_NEAREST, GL_LINEAR_MIPMAP_LINEAR);
    lookup.SetWrap(GL_CLAMP_TO_EDGE, GL_REPEAT);

    EXPECT_EQ(ErrorOf([&] { lookup.SetFilter(GL_REPEAT, GL_NEAREST); }), "Invalid <Mag> parameter.");
    EXPECT_EQ(ErrorOf([&] { lookup.SetFilter(GL_NEAREST, 0); }), "Invalid <Min> parameter.");
    EXPECT_EQ(ErrorOf([&] { lookup.SetWrap(GL_CLAMP_TO_EDGE, 0); }), "Invalid <t> parameter.");
    GLint wrapT = 0;
    glBindTexture(GL_TEXTURE_2D, lookup.GetHandle());
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
    EXPECT_EQ(wrapT, GL_REPEAT);

    GL::TextureCubeMap cube;
    std::vector<unsigned char> face(128 * 128, 200);
    for (GLenum f = GL_TEXTURE_CUBE_MAP_POSITIVE_X; f <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z; ++f)
        cube.SetFace(f, GL_LUMINANCE8, 128, GL_LUMINANCE, GL_UNSIGNED_BYTE, face.data());
    EXPECT_EQ(ErrorOf([&] {
                  cube.SetFace(GL_TEXTURE_2D, GL_LUMINANCE8, 128, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                               face.data());
              }),
              "Invalid <Face> parameter.");

    // GL's own refusal becomes the texture form of the error text.
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
