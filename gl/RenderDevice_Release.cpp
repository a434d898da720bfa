#include "gl/RenderDevice_Release.h"

#include "app/DeveloperException.h"
#include "app/InitOrder.h"
#include "gl/ExtensionRegistry.h"

#include <cstdint>

namespace GL {

Sys::Ptr<IRenderDevice> Device KORVO_INIT_ORDER(KORVO_INIT_GL);

namespace {

const GLenum textureTargets[] = {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_RECTANGLE_ARB,
                                 GL_TEXTURE_3D, GL_TEXTURE_CUBE_MAP};
const GLenum textureBindings[] = {GL_TEXTURE_BINDING_1D, GL_TEXTURE_BINDING_2D,
                                  GL_TEXTURE_BINDING_RECTANGLE_ARB, GL_TEXTURE_BINDING_3D,
                                  GL_TEXTURE_BINDING_CUBE_MAP};

} // namespace

RenderDevice_Release::RenderDevice_Release(Sys::Ptr<IFrameBuffer> primary)
{
    if (!primary || primary->GetKind() != IFrameBuffer::KIND_WINDOW)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_PARAMETER,
                                      "<FrameBuffer> should be primary windowed framebuffer.");
    if (Extensions && Extensions->GL_VERSION_2_0) {
        glGetIntegerv(GL_MAX_DRAW_BUFFERS, &MaxDrawBuffers);
        glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &MaxTextureImageUnits);
        glGetIntegerv(GL_MAX_VERTEX_ATTRIBS, &MaxVertexAttribs);
    }
    glGetIntegerv(GL_MAX_TEXTURE_UNITS, &fixedFunctionUnits);
    PrimaryFrameBuffer = primary;
}

void RenderDevice_Release::SetFrameBuffer(Sys::Ptr<IFrameBuffer> frameBuffer)
{
    if (!frameBuffer)
        frameBuffer = PrimaryFrameBuffer;
    if (frameBuffer->IsBound())
        return;
    if (CurrentFrameBuffer)
        CurrentFrameBuffer->Unbind();
    frameBuffer->Bind();

    const auto& buffers = frameBuffer->GetDrawBuffers();
    if (buffers.empty()) {
        glDrawBuffer(GL_NONE);
        glReadBuffer(GL_NONE);
    } else if (buffers.size() == 1) {
        glDrawBuffer(*buffers.begin());
        glReadBuffer(*buffers.begin());
    } else {
        GLenum list[16];
        GLsizei count = 0;
        for (GLenum buffer : buffers)
            if (count < 16)
                list[count++] = buffer;
        glDrawBuffers(count, list);
    }
    glViewport(0, 0, frameBuffer->GetWidth(), frameBuffer->GetHeight());
    CurrentFrameBuffer = frameBuffer;
}

void RenderDevice_Release::BlitFrameBuffer(Sys::Ptr<const FrameBufferObject> dst,
                                           Sys::Ptr<const FrameBufferObject> src,
                                           GLbitfield mask, GLenum filter)
{
    glBindFramebufferEXT(GL_READ_FRAMEBUFFER_EXT, src->GetHandle());
    glBindFramebufferEXT(GL_DRAW_FRAMEBUFFER_EXT, dst->GetHandle());
    glBlitFramebufferEXT(0, 0, src->GetWidth(), src->GetHeight(), 0, 0, dst->GetWidth(),
                         dst->GetHeight(), mask, filter);
    // The blit left other framebuffers bound: the current target no longer counts as
    // bound, so the next SetFrameBuffer binds it again.
    if (CurrentFrameBuffer)
        CurrentFrameBuffer->Unbind();
    CurrentFrameBuffer = nullptr;
}

void RenderDevice_Release::DisableTextureUnits()
{
    const int units = MaxTextureImageUnits < fixedFunctionUnits ? MaxTextureImageUnits
                                                                : fixedFunctionUnits;
    for (int unit = 0; unit < MaxTextureImageUnits; ++unit) {
        if (unit < units) {
            glActiveTexture(GL_TEXTURE0 + unit);
            glDisable(GL_TEXTURE_1D);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_TEXTURE_RECTANGLE_ARB);
            glDisable(GL_TEXTURE_CUBE_MAP);
        }
        if (unit < TextureUnits)
            Textures[unit] = nullptr;
    }
}

void RenderDevice_Release::CopyPixels(int x, int y, int width, int height, GLenum type)
{
    DisableTextureUnits();
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glWindowPos2i(x, y);
    glCopyPixels(x, y, width, height, type);
    glPopAttrib();
}

void RenderDevice_Release::CopyPixels(Sys::Ptr<const PixelBuffer> pack,
                                      Sys::Ptr<const PixelBuffer> unpack, int x, int y,
                                      int width, int height, GLenum format, GLenum type)
{
    DisableTextureUnits();
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_STENCIL_TEST);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, pack->GetHandle());
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, unpack->GetHandle());
    glReadPixels(x, y, width, height, format, type, nullptr);
    glWindowPos2i(x, y);
    glDrawPixels(width, height, format, type, nullptr);
    glPopAttrib();
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
}

void RenderDevice_Release::SetTexture(GLenum unit, Sys::Ptr<const ITexture> texture)
{
    const int index = static_cast<int>(unit - GL_TEXTURE0);
    glActiveTexture(unit);
    // Units beyond the fixed-function ones only feed shaders: they have no targets to
    // enable, and asking about them is an error.
    const bool fixedFunction = index < fixedFunctionUnits;
    int enabled = -1;
    for (int i = 0; fixedFunction && i < 5 && enabled < 0; ++i)
        if (glIsEnabled(textureTargets[i]))
            enabled = i;

    if (!texture) {
        if (enabled >= 0)
            glDisable(textureTargets[enabled]);
    } else {
        const GLenum target = texture->GetTarget();
        int wanted = 0;
        while (wanted < 5 && textureTargets[wanted] != target)
            ++wanted;
        if (enabled >= 0 && enabled != wanted)
            glDisable(textureTargets[enabled]);
        if (fixedFunction && enabled != wanted)
            glEnable(target);
        GLint bound = 0;
        if (wanted < 5)
            glGetIntegerv(textureBindings[wanted], &bound);
        if (static_cast<GLuint>(bound) != texture->GetHandle())
            glBindTexture(target, texture->GetHandle());
    }
    if (index >= 0 && index < TextureUnits)
        Textures[index] = texture;
}

void RenderDevice_Release::SetProgram(Sys::Ptr<const IProgram> program)
{
    if (CurrentProgram) {
        // The program already in use needs no call at all.
        if (program && program->GetHandle() == CurrentProgram->GetHandle()) {
            CurrentProgram = program;
            return;
        }
        CurrentProgram->Unbind();
    }
    if (program)
        program->Bind();
    CurrentProgram = program;
}

void RenderDevice_Release::SetVertexFormat(const VertexFormat& format)
{
    for (int index = 0; index < MaxVertexAttribs; ++index) {
        GLint enabled = 0;
        glGetVertexAttribiv(static_cast<GLuint>(index), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        if (!format.Has(index) && enabled)
            glDisableVertexAttribArray(static_cast<GLuint>(index));
        else if (format.Has(index) && !enabled)
            glEnableVertexAttribArray(static_cast<GLuint>(index));
    }
    CurrentVertexFormat = format;
    VertexStride = format.GetVertexSize();
}

void RenderDevice_Release::PointAttributes(const VertexFormat& format, int stride)
{
    for (int index = 0; index < VertexFormat::MaxAttributes; ++index) {
        if (!format.Has(index))
            continue;
        const VertexFormat::Attribute& a = format.Get(index);
        glVertexAttribPointer(static_cast<GLuint>(index), a.Count, a.Type,
                              a.Normalized ? GL_TRUE : GL_FALSE, stride,
                              reinterpret_cast<const void*>(static_cast<intptr_t>(a.Offset)));
    }
}

void RenderDevice_Release::SetVertexBuffer(Sys::Ptr<const VertexBuffer> vertexBuffer)
{
    SetVertexBuffer(Sys::Ptr<const IVertexBufferObject>(vertexBuffer),
                    vertexBuffer ? vertexBuffer->GetVertexSize() : 0);
}

void RenderDevice_Release::SetVertexBuffer(Sys::Ptr<const IVertexBufferObject> buffer,
                                           int stride)
{
    if (!buffer) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    } else {
        glBindBuffer(GL_ARRAY_BUFFER, buffer->GetHandle());
        PointAttributes(CurrentVertexFormat, stride);
    }
    CurrentVertexBuffer = buffer;
}

void RenderDevice_Release::SetVertexAttributes(Sys::Ptr<const VertexBuffer> vertexBuffer)
{
    if (!vertexBuffer) {
        glBindBuffer(GL_ARRAY_BUFFER, 0);
    } else {
        glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer->GetHandle());
        PointAttributes(vertexBuffer->GetFormat(), vertexBuffer->GetVertexSize());
    }
    CurrentVertexBuffer = vertexBuffer;
}

void RenderDevice_Release::SetIndexBuffer(Sys::Ptr<const IndexBuffer> indexBuffer)
{
    SetIndexBuffer(Sys::Ptr<const IVertexBufferObject>(indexBuffer),
                   indexBuffer ? indexBuffer->GetIndexType() : GLenum(GL_UNSIGNED_SHORT));
}

void RenderDevice_Release::SetIndexBuffer(Sys::Ptr<const IVertexBufferObject> buffer,
                                          GLenum type)
{
    if (!buffer) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    } else {
        if (type == GL_UNSIGNED_BYTE)
            IndexSize = 1;
        else if (type == GL_UNSIGNED_SHORT)
            IndexSize = 2;
        else if (type == GL_UNSIGNED_INT)
            IndexSize = 4;
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, buffer->GetHandle());
    }
    CurrentIndexBuffer = buffer;
    IndexType = type;
}

void RenderDevice_Release::SetFeedbackBuffer(Sys::Ptr<const IVertexBufferObject> buffer)
{
    FeedbackBuffer = buffer;
}

// Transform feedback and conditional rendering are used only where the driver lists
// their extensions; without the entry points the calls do nothing and a conditional
// draw simply draws.
void RenderDevice_Release::BindFeedbackBuffer(int index,
                                              Sys::Ptr<const IVertexBufferObject> buffer)
{
    if (glBindBufferBaseNV != nullptr)
        glBindBufferBaseNV(GL_TRANSFORM_FEEDBACK_BUFFER_NV, static_cast<GLuint>(index),
                           buffer ? buffer->GetHandle() : 0);
    BoundFeedbackBuffer = buffer;
}

void RenderDevice_Release::BeginConditionalRender(Sys::Ptr<const Query> query)
{
    if (!query)
        return;
    if (glBeginConditionalRenderNVX != nullptr) {
        glBeginConditionalRenderNVX(query->GetHandle());
        conditionalRenderActive = true;
    } else if (glBeginConditionalRenderNV != nullptr) {
        glBeginConditionalRenderNV(query->GetHandle(), GL_QUERY_WAIT_NV);
        conditionalRenderActive = true;
    }
}

void RenderDevice_Release::EndConditionalRender()
{
    if (!conditionalRenderActive)
        return;
    if (glEndConditionalRenderNVX != nullptr)
        glEndConditionalRenderNVX();
    else if (glEndConditionalRenderNV != nullptr)
        glEndConditionalRenderNV();
    conditionalRenderActive = false;
}

void RenderDevice_Release::BeginTransformFeedback(GLenum mode)
{
    if (glBeginTransformFeedbackNV != nullptr)
        glBeginTransformFeedbackNV(mode);
}

void RenderDevice_Release::EndTransformFeedback()
{
    if (glEndTransformFeedbackNV != nullptr)
        glEndTransformFeedbackNV();
}

const void* RenderDevice_Release::IndexOffset(int firstIndex) const
{
    return reinterpret_cast<const void*>(static_cast<intptr_t>(firstIndex) * IndexSize);
}

void RenderDevice_Release::DrawArrays(GLenum mode, int first, int count)
{
    glDrawArrays(mode, first, count);
}

void RenderDevice_Release::DrawArraysInstanced(GLenum mode, int first, int count, int instances)
{
    if (glDrawArraysInstancedEXT != nullptr)
        glDrawArraysInstancedEXT(mode, first, count, instances);
    else
        glDrawArraysInstanced(mode, first, count, instances);
}

void RenderDevice_Release::DrawElements(GLenum mode, int firstIndex, int count)
{
    glDrawElements(mode, count, IndexType, IndexOffset(firstIndex));
}

void RenderDevice_Release::DrawElementsInstanced(GLenum mode, int firstIndex, int count,
                                                 int instances)
{
    if (glDrawElementsInstancedEXT != nullptr)
        glDrawElementsInstancedEXT(mode, count, IndexType, IndexOffset(firstIndex), instances);
    else
        glDrawElementsInstanced(mode, count, IndexType, IndexOffset(firstIndex), instances);
}

void RenderDevice_Release::DrawRangeElements(GLenum mode, int firstIndex, int start, int end,
                                             int count)
{
    glDrawRangeElements(mode, static_cast<GLuint>(start), static_cast<GLuint>(end), count,
                        IndexType, IndexOffset(firstIndex));
}

} // namespace GL
