#pragma once

#include "gl/IRenderDevice.h"

namespace GL {

// The render device. Each setter compares with what it remembers and issues only the
// difference. It starts from GL's initial state, as a new context has it; binding a
// P-buffer (a context of its own) or leaving one makes it forget, since each context keeps
// its own state.
class RenderDevice_Release : public IRenderDevice {
public:
    // `primary` must be the window framebuffer; it is also the target an empty
    // SetFrameBuffer returns to.
    explicit RenderDevice_Release(Sys::Ptr<IFrameBuffer> primary);
    ~RenderDevice_Release() override = default;

    std::string GetTypeName() const override { return "GL::RenderDevice_Release"; }

    void SetFrameBuffer(Sys::Ptr<IFrameBuffer> frameBuffer) override;
    void BlitFrameBuffer(Sys::Ptr<const FrameBufferObject> dst,
                         Sys::Ptr<const FrameBufferObject> src, GLbitfield mask,
                         GLenum filter) override;
    void CopyPixels(int x, int y, int width, int height, GLenum type) override;
    void CopyPixels(Sys::Ptr<const PixelBuffer> pack, Sys::Ptr<const PixelBuffer> unpack, int x,
                    int y, int width, int height, GLenum format, GLenum type) override;
    void SetTexture(GLenum unit, Sys::Ptr<const ITexture> texture) override;
    void SetProgram(Sys::Ptr<const IProgram> program) override;
    void SetRasterState(const RasterState& state) override;
    void ForgetState() override;
    void SetVertexFormat(const VertexFormat& format) override;
    void SetVertexStride(int stride) override { VertexStride = stride; }
    void SetVertexBuffer(Sys::Ptr<const VertexBuffer> vertexBuffer) override;
    void SetVertexBuffer(Sys::Ptr<const IVertexBufferObject> buffer, int stride) override;
    void SetVertexAttributes(Sys::Ptr<const VertexBuffer> vertexBuffer) override;
    void SetIndexBuffer(Sys::Ptr<const IndexBuffer> indexBuffer) override;
    void SetIndexBuffer(Sys::Ptr<const IVertexBufferObject> buffer, GLenum type) override;
    void SetFeedbackBuffer(Sys::Ptr<const IVertexBufferObject> buffer) override;
    void BindFeedbackBuffer(int index, Sys::Ptr<const IVertexBufferObject> buffer) override;
    void BeginConditionalRender(Sys::Ptr<const Query> query) override;
    void EndConditionalRender() override;
    void BeginTransformFeedback(GLenum mode) override;
    void EndTransformFeedback() override;
    void DrawArrays(GLenum mode, int first, int count) override;
    void DrawArraysInstanced(GLenum mode, int first, int count, int instances) override;
    void DrawElements(GLenum mode, int firstIndex, int count) override;
    void DrawElementsInstanced(GLenum mode, int firstIndex, int count, int instances) override;
    void DrawRangeElements(GLenum mode, int firstIndex, int start, int end, int count) override;

private:
    // Pixel copies must not be textured: every unit's targets are switched off.
    void DisableTextureUnits();
    void PointAttributes(const VertexFormat& format, int stride);
    const void* IndexOffset(int firstIndex) const;

    void Enable(GLenum capability, bool on);

    // Fixed-function texture units: enabling a target beyond them is an error.
    int fixedFunctionUnits = 0;
    bool conditionalRenderActive = false;
    bool depthClampAvailable = false;
    bool depthBoundsAvailable = false;
    // What GL holds, where known: false after ForgetState until the next setter.
    bool rasterKnown = true;
    bool attributesKnown = true;
    unsigned long long enabledAttributes = 0;
    // The texture target enabled on each fixed-function unit: an index into the target
    // list, NoTarget for none, UnknownTarget after ForgetState.
    static constexpr int NoTarget = -1, UnknownTarget = -2;
    int enabledTargets[TextureUnits];
    // The framebuffer whose context is current: a P-buffer, or the window's (which also
    // holds the framebuffer objects).
    const IFrameBuffer* currentContext = nullptr;
};

} // namespace GL
