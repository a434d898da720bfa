#pragma once

#include "world/IPointLightSource.h"

namespace Korvo {

// A point light with a spherical source of its own; the source size sets the width of
// the penumbrae and the size of the marker.
class OmniLightSource : public IPointLightSource {
public:
    explicit OmniLightSource(float radius) : IPointLightSource(radius) {}
    ~OmniLightSource() override = default;

    std::string GetTypeName() const override { return "Korvo::OmniLightSource"; }

    float GetSourceSize() const override { return SourceSize; }
    void DrawMarker() const override;
    void CollectModelsInRange(const std::vector<Sys::Ptr<IModel>>& models) override;

    void SetUniforms(const GL::IProgram& program, const Math::Mat4& toModel,
                     int mode) const override;

    float SourceSize = 0.0f;
};

} // namespace Korvo
