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
constexpr int TargetCount = 5;

bool SameFunc(const StencilFace& a, const StencilFace& b)
{
    return a.Func == b.Func && a.Ref == b.Ref && a.Mask == b.Mask;
}

bool SameOps(const StencilFace& a, const StencilFace& b)
{
    return a.Fail == b.Fail && a.DepthFail == b.DepthFail && a.DepthPass == b.DepthPass;
}

// The context a framebuffer draws in: a P-buffer has its own, the others the window's.
const IFrameBuffer* ContextOf(const IFrameBuffer* frameBuffer, const IFrameBuffer* window)
{
    return frameBuffer->GetKind() == IFrameBuffer::KIND_PBUFFER ? frameBuffer : window;
}

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
    depthClampAvailable = Extensions && Extensions->GL_NV_depth_clamp;
    depthBoundsAvailable = Extensions && Extensions->GL_EXT_depth_bounds_test;
    for (int& target : enabledTargets)
        target = NoTarget;
    PrimaryFrameBuffer = primary;
    currentContext = primary.Get();
}

void RenderDevice_Release::ForgetState()
{
    rasterKnown = false;
    attributesKnown = false;
    for (int& target : enabledTargets)
        target = UnknownTarget;
}

void RenderDevice_Release::Enable(GLenum capability, bool on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
    ++StateCalls;
}

void RenderDevice_Release::SetRasterState(const RasterState& s)
{
    if (s.DepthClamp && !depthClampAvailable)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_PARAMETER,
                                      "Depth clamping is not available.");
    if (s.DepthBounds && !depthBoundsAvailable)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_PARAMETER,
                                      "The depth-bounds test is not available.");
    const bool all = !rasterKnown;
    const RasterState& o = CurrentRasterState;
    if (all || s.DepthTest != o.DepthTest)
        Enable(GL_DEPTH_TEST, s.DepthTest);
    if (all || s.DepthFunc != o.DepthFunc) {
        glDepthFunc(s.DepthFunc);
        ++StateCalls;
    }
    if (all || s.DepthWrite != o.DepthWrite) {
        glDepthMask(s.DepthWrite ? GL_TRUE : GL_FALSE);
        ++StateCalls;
    }
    if (depthClampAvailable && (all || s.DepthClamp != o.DepthClamp))
        Enable(GL_DEPTH_CLAMP_NV, s.DepthClamp);
    if (depthBoundsAvailable) {
        if (all || s.DepthBounds != o.DepthBounds)
            Enable(GL_DEPTH_BOUNDS_TEST_EXT, s.DepthBounds);
        if (s.DepthBounds && (all || !o.DepthBounds || s.DepthBoundsMin != o.DepthBoundsMin ||
                              s.DepthBoundsMax != o.DepthBoundsMax)) {
            glDepthBoundsEXT(s.DepthBoundsMin, s.DepthBoundsMax);
            ++StateCalls;
        }
    }
    if (all || (s.NearCut > 0.0f) != (o.NearCut > 0.0f))
        Enable(GL_CLIP_PLANE0, s.NearCut > 0.0f);
    if (s.NearCut > 0.0f && (all || s.NearCut != o.NearCut)) {
        // GL takes the plane through the inverse of the model-view matrix: with the
        // identity loaded it stays in eye space, keeping -z >= NearCut.
        const GLdouble plane[4] = {0.0, 0.0, -1.0, -static_cast<GLdouble>(s.NearCut)};
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
        glClipPlane(GL_CLIP_PLANE0, plane);
        glPopMatrix();
        ++StateCalls;
    }
    if (all || s.ColorWrite[0] != o.ColorWrite[0] || s.ColorWrite[1] != o.ColorWrite[1] ||
        s.ColorWrite[2] != o.ColorWrite[2] || s.ColorWrite[3] != o.ColorWrite[3]) {
        glColorMask(s.ColorWrite[0], s.ColorWrite[1], s.ColorWrite[2], s.ColorWrite[3]);
        ++StateCalls;
    }

    if (all || s.StencilTest != o.StencilTest)
        Enable(GL_STENCIL_TEST, s.StencilTest);
    // Both faces in one call where they agree, else each face that changed.
    const auto setFaces = [&](auto same, auto setBoth, auto setOne) {
        const bool front = all || !same(s.Front, o.Front);
        const bool back = all || !same(s.Back, o.Back);
        if ((front || back) && same(s.Front, s.Back)) {
            setBoth(s.Front);
            ++StateCalls;
            return;
        }
        if (front) {
            setOne(GL_FRONT, s.Front);
            ++StateCalls;
        }
        if (back) {
            setOne(GL_BACK, s.Back);
            ++StateCalls;
        }
    };
    setFaces(SameFunc, [](const StencilFace& f) { glStencilFunc(f.Func, f.Ref, f.Mask); },
             [](GLenum face, const StencilFace& f) {
                 glStencilFuncSeparate(face, f.Func, f.Ref, f.Mask);
             });
    setFaces(SameOps, [](const StencilFace& f) { glStencilOp(f.Fail, f.DepthFail, f.DepthPass); },
             [](GLenum face, const StencilFace& f) {
                 glStencilOpSeparate(face, f.Fail, f.DepthFail, f.DepthPass);
             });
    if (all || s.StencilWriteMask != o.StencilWriteMask) {
        glStencilMask(s.StencilWriteMask);
        ++StateCalls;
    }

    if (all || s.Cull != o.Cull)
        Enable(GL_CULL_FACE, s.Cull);
    if (all || s.CullFace != o.CullFace) {
        glCullFace(s.CullFace);
        ++StateCalls;
    }
    if (all || s.Blend != o.Blend)
        Enable(GL_BLEND, s.Blend);
    if (all || s.BlendEquation != o.BlendEquation) {
        glBlendEquation(s.BlendEquation);
        ++StateCalls;
    }
    if (all || s.BlendSrc != o.BlendSrc || s.BlendDst != o.BlendDst) {
        glBlendFunc(s.BlendSrc, s.BlendDst);
        ++StateCalls;
    }
    CurrentRasterState = s;
    rasterKnown = true;
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
    const IFrameBuffer* context = ContextOf(frameBuffer.Get(), PrimaryFrameBuffer.Get());
    if (context != currentContext) {
        currentContext = context;
        ForgetState();
    }

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
            // 3D textures are never enabled through the device; the unit is clear only if
            // it was known to be.
            if (unit < TextureUnits && enabledTargets[unit] != UnknownTarget)
                enabledTargets[unit] = NoTarget;
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
    int wanted = NoTarget;
    if (texture) {
        wanted = 0;
        while (wanted < TargetCount && textureTargets[wanted] != texture->GetTarget())
            ++wanted;
    }
    // Units beyond the fixed-function ones only feed shaders: they have no targets to
    // enable, and switching them is an error.
    if (index < fixedFunctionUnits && index < TextureUnits) {
        int& enabled = enabledTargets[index];
        if (enabled == UnknownTarget) {
            for (int i = 0; i < TargetCount; ++i)
                if (i != wanted)
                    Enable(textureTargets[i], false);
        } else if (enabled != NoTarget && enabled != wanted) {
            Enable(textureTargets[enabled], false);
        }
        if (wanted != NoTarget && wanted < TargetCount && enabled != wanted)
            Enable(textureTargets[wanted], true);
        enabled = wanted < TargetCount ? wanted : NoTarget;
    }
    // Texture creation and framebuffer copies bind textures too, so the binding is always
    // made: the device cannot know what the unit holds.
    if (texture)
        glBindTexture(texture->GetTarget(), texture->GetHandle());
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
    const int count = MaxVertexAttribs < 64 ? MaxVertexAttribs : 64;
    for (int index = 0; index < count; ++index) {
        const unsigned long long bit = 1ull << index;
        const bool enabled = (enabledAttributes & bit) != 0;
        if (format.Has(index) && (!enabled || !attributesKnown)) {
            glEnableVertexAttribArray(static_cast<GLuint>(index));
            ++StateCalls;
            enabledAttributes |= bit;
        } else if (!format.Has(index) && (enabled || !attributesKnown)) {
            glDisableVertexAttribArray(static_cast<GLuint>(index));
            ++StateCalls;
            enabledAttributes &= ~bit;
        }
    }
    attributesKnown = true;
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
