#pragma once

#include "app/Ptr.h"
#include "gl/IObject.h"

namespace GL {

// The implementation limits of the current context, queried once; a limit whose
// extension or version is missing stays 0.
class CapsDesc : public IObject {
public:
    CapsDesc();
    ~CapsDesc() override = default;

    std::string GetTypeName() const override { return "GL::CapsDesc"; }

    int MaxDrawBuffers = 0;
    int MaxColorAttachments = 0;
    int MaxSamples = 0;
    int MaxRenderbufferSize = 0;
    int MaxViewportDims[2] = {0, 0};
    int MaxTextureSize = 0;
    int MaxRectangleTextureSize = 0;
    int Max3DTextureSize = 0;
    int MaxCubeMapTextureSize = 0;
    float MaxTextureMaxAnisotropy = 0.0f;
    int MaxVaryingComponents = 0;
    int MaxCombinedTextureImageUnits = 0;
    int MaxBindableUniformSize = 0;
    int MaxVertexVaryingComponents = 0;
    int MaxVertexUniformComponents = 0;
    int MaxVertexBindableUniforms = 0;
    int MaxVertexTextureImageUnits = 0;
    int MaxVertexAttribs = 0;
    int MaxGeometryVaryingComponents = 0;
    int MaxGeometryUniformComponents = 0;
    int MaxGeometryBindableUniforms = 0;
    int MaxGeometryTextureImageUnits = 0;
    int MaxGeometryOutputVertices = 0;
    int MaxGeometryTotalOutputComponents = 0;
    int MaxFragmentUniformComponents = 0;
    int MaxFragmentBindableUniforms = 0;
    int MaxTextureCoords = 0;
    int MaxTextureImageUnits = 0;
    int MaxTransformFeedbackSeparateComponents = 0;
    int MaxTransformFeedbackInterleavedAttribs = 0;
    int MaxTransformFeedbackSeparateAttribs = 0;
    int MaxElementsVertices = 0;
    int MaxElementsIndices = 0;
    int QueryCounterBits = 0;
};

extern Sys::Ptr<CapsDesc> Caps;

} // namespace GL
