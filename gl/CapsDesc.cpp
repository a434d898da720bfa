#include "gl/CapsDesc.h"

#include "app/DeveloperException.h"
#include "app/InitOrder.h"
#include "gl/ExtensionRegistry.h"
#include "platform/Platform.h"

namespace GL {

Sys::Ptr<CapsDesc> Caps KORVO_INIT_ORDER(KORVO_INIT_GL);

CapsDesc::CapsDesc()
{
    if (Platform::wglGetCurrentContext() == nullptr)
        throw Sys::DeveloperException("Invalid current rendering context.");
    if (!Extensions)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_CALL,
                                      "GL::Extensions must be created before GL::CapsDesc.");
    const ExtensionRegistry& e = *Extensions;

    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8824, &MaxDrawBuffers);
    if (e.GL_EXT_framebuffer_object)
        glGetIntegerv(0x8CDF, &MaxColorAttachments);
    if (e.GL_EXT_framebuffer_object) {
        glGetIntegerv(0x8D57, &MaxSamples);
        // Drivers without multisampled renderbuffers flag the query; drop it.
        glGetError();
    }
    if (e.GL_EXT_framebuffer_object)
        glGetIntegerv(0x84E8, &MaxRenderbufferSize);
    glGetIntegerv(0x0D3A, MaxViewportDims);
    glGetIntegerv(0x0D33, &MaxTextureSize);
    if (e.GL_ARB_texture_rectangle || e.GL_EXT_texture_rectangle || e.GL_NV_texture_rectangle)
        glGetIntegerv(0x84F8, &MaxRectangleTextureSize);
    glGetIntegerv(0x8073, &Max3DTextureSize);
    glGetIntegerv(0x851C, &MaxCubeMapTextureSize);
    if (e.GL_EXT_texture_filter_anisotropic)
        glGetFloatv(0x84FF, &MaxTextureMaxAnisotropy);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8B4B, &MaxVaryingComponents);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8B4D, &MaxCombinedTextureImageUnits);
    if (e.GL_VERSION_2_0 && e.GL_EXT_bindable_uniform)
        glGetIntegerv(0x8DED, &MaxBindableUniformSize);
    if (e.GL_VERSION_2_0 && e.GL_EXT_geometry_shader4)
        glGetIntegerv(0x8DDE, &MaxVertexVaryingComponents);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8B4A, &MaxVertexUniformComponents);
    if (e.GL_VERSION_2_0 && e.GL_EXT_bindable_uniform)
        glGetIntegerv(0x8DE2, &MaxVertexBindableUniforms);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8B4C, &MaxVertexTextureImageUnits);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8869, &MaxVertexAttribs);
    if (e.GL_VERSION_2_0 && e.GL_EXT_geometry_shader4)
        glGetIntegerv(0x8DDD, &MaxGeometryVaryingComponents);
    if (e.GL_VERSION_2_0 && e.GL_EXT_geometry_shader4)
        glGetIntegerv(0x8DDF, &MaxGeometryUniformComponents);
    if (e.GL_VERSION_2_0 && e.GL_EXT_geometry_shader4 && e.GL_EXT_bindable_uniform)
        glGetIntegerv(0x8DE4, &MaxGeometryBindableUniforms);
    if (e.GL_VERSION_2_0 && e.GL_EXT_geometry_shader4)
        glGetIntegerv(0x8C29, &MaxGeometryTextureImageUnits);
    if (e.GL_VERSION_2_0 && e.GL_EXT_geometry_shader4)
        glGetIntegerv(0x8DE0, &MaxGeometryOutputVertices);
    if (e.GL_VERSION_2_0 && e.GL_EXT_geometry_shader4)
        glGetIntegerv(0x8DE1, &MaxGeometryTotalOutputComponents);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8B49, &MaxFragmentUniformComponents);
    if (e.GL_VERSION_2_0 && e.GL_EXT_bindable_uniform)
        glGetIntegerv(0x8DE3, &MaxFragmentBindableUniforms);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8871, &MaxTextureCoords);
    if (e.GL_VERSION_2_0)
        glGetIntegerv(0x8872, &MaxTextureImageUnits);
    if (e.GL_NV_transform_feedback)
        glGetIntegerv(0x8C80, &MaxTransformFeedbackSeparateComponents);
    if (e.GL_NV_transform_feedback)
        glGetIntegerv(0x8C8A, &MaxTransformFeedbackInterleavedAttribs);
    if (e.GL_NV_transform_feedback)
        glGetIntegerv(0x8C8B, &MaxTransformFeedbackSeparateAttribs);
    glGetIntegerv(0x80E8, &MaxElementsVertices);
    glGetIntegerv(0x80E9, &MaxElementsIndices);
    // The counter width belongs to the occlusion query target, not to the global state:
    // asked as a plain state value it is refused with GL_INVALID_ENUM.
    if (e.GL_VERSION_1_5)
        glGetQueryiv(GL_SAMPLES_PASSED, 0x8864, &QueryCounterBits);
}

} // namespace GL
