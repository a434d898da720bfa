#pragma once

#include "app/Ptr.h"
#include "gl/FrameBufferObject.h"
#include "gl/IFrameBuffer.h"
#include "gl/IProgram.h"
#include "gl/ITexture.h"
#include "gl/IVertexBufferObject.h"
#include "gl/IndexBuffer.h"
#include "gl/PixelBuffer.h"
#include "gl/Query.h"
#include "gl/RasterState.h"
#include "gl/VertexBuffer.h"
#include "gl/VertexFormat.h"

namespace GL {

// The one object through which the renderer sets targets, textures, programs, buffers and
// raster state, and draws. It remembers what it set (it never asks GL), so that setting the
// same thing again costs little, and holds a reference to everything bound through it.
// Code that changes the same GL state behind its back calls ForgetState afterwards.
class IRenderDevice : public IObject {
public:
    static constexpr int TextureUnits = 32;

    ~IRenderDevice() override = default;

    virtual void SetFrameBuffer(Sys::Ptr<IFrameBuffer> frameBuffer) = 0;
    virtual void BlitFrameBuffer(Sys::Ptr<const FrameBufferObject> dst,
                                 Sys::Ptr<const FrameBufferObject> src, GLbitfield mask,
                                 GLenum filter) = 0;
    virtual void CopyPixels(int x, int y, int width, int height, GLenum type) = 0;
    virtual void CopyPixels(Sys::Ptr<const PixelBuffer> pack, Sys::Ptr<const PixelBuffer> unpack,
                            int x, int y, int width, int height, GLenum format,
                            GLenum type) = 0;
    virtual void SetTexture(GLenum unit, Sys::Ptr<const ITexture> texture) = 0;
    virtual void SetProgram(Sys::Ptr<const IProgram> program) = 0;
    // Issues only the calls for what differs from the block applied last.
    virtual void SetRasterState(const RasterState& state) = 0;
    // The next raster state, vertex format and texture enables are issued in full: for when
    // something else has changed GL's state, or another context has become current.
    virtual void ForgetState() = 0;
    virtual void SetVertexFormat(const VertexFormat& format) = 0;
    virtual void SetVertexStride(int stride) = 0;
    virtual void SetVertexBuffer(Sys::Ptr<const VertexBuffer> vertexBuffer) = 0;
    virtual void SetVertexBuffer(Sys::Ptr<const IVertexBufferObject> buffer, int stride) = 0;
    virtual void SetVertexAttributes(Sys::Ptr<const VertexBuffer> vertexBuffer) = 0;
    virtual void SetIndexBuffer(Sys::Ptr<const IndexBuffer> indexBuffer) = 0;
    virtual void SetIndexBuffer(Sys::Ptr<const IVertexBufferObject> buffer, GLenum type) = 0;
    virtual void SetFeedbackBuffer(Sys::Ptr<const IVertexBufferObject> buffer) = 0;
    virtual void BindFeedbackBuffer(int index, Sys::Ptr<const IVertexBufferObject> buffer) = 0;
    virtual void BeginConditionalRender(Sys::Ptr<const Query> query) = 0;
    virtual void EndConditionalRender() = 0;
    virtual void BeginTransformFeedback(GLenum mode) = 0;
    virtual void EndTransformFeedback() = 0;
    virtual void DrawArrays(GLenum mode, int first, int count) = 0;
    virtual void DrawArraysInstanced(GLenum mode, int first, int count, int instances) = 0;
    virtual void DrawElements(GLenum mode, int firstIndex, int count) = 0;
    virtual void DrawElementsInstanced(GLenum mode, int firstIndex, int count,
                                       int instances) = 0;
    virtual void DrawRangeElements(GLenum mode, int firstIndex, int start, int end,
                                   int count) = 0;

    int MaxDrawBuffers = 0;
    int MaxTextureImageUnits = 0;
    int MaxVertexAttribs = 0;
    Sys::Ptr<IFrameBuffer> CurrentFrameBuffer;
    Sys::Ptr<IFrameBuffer> PrimaryFrameBuffer;
    Sys::Ptr<const ITexture> Textures[TextureUnits];
    Sys::Ptr<const IProgram> CurrentProgram;
    Sys::Ptr<const IVertexBufferObject> CurrentVertexBuffer;
    Sys::Ptr<const IVertexBufferObject> CurrentIndexBuffer;
    Sys::Ptr<const IVertexBufferObject> FeedbackBuffer;
    Sys::Ptr<const IVertexBufferObject> BoundFeedbackBuffer;
    VertexFormat CurrentVertexFormat;
    RasterState CurrentRasterState;
    // GL state calls the device has issued (raster state, attribute arrays, texture
    // enables); read by tests and profiling.
    long StateCalls = 0;
    int VertexStride = 0;
    GLenum IndexType = GL_UNSIGNED_SHORT;
    int IndexSize = 2;
};

// The process-wide device, made by the render system for the window framebuffer.
extern Sys::Ptr<IRenderDevice> Device;

} // namespace GL
