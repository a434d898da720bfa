#pragma once

#include "world/IPointLightSource.h"

namespace GL {
class IProgram;
}

namespace Korvo {

// A point light with a spherical source of its own; the source size sets the width of
// the penumbrae and the size of the marker.
class OmniLightSource : public IPointLightSource {
public:
    // The values SetUniforms puts on a wedge program for one drawn model.
    struct Uniforms {
        Math::Vec3f Position;        // in the drawn model's space
        Math::Vec3f WorldPosition;
        float Radius;                // the source size
        float ScaledRadius;
        float InvRadius;
    };

    explicit OmniLightSource(float radius) : IPointLightSource(radius) {}
    ~OmniLightSource() override = default;

    std::string GetTypeName() const override { return "Korvo::OmniLightSource"; }

    float GetSourceSize() const override { return SourceSize; }
    void DrawMarker() const override;
    void CollectModelsInRange(const std::vector<Sys::Ptr<IModel>>& models) override;

    // toModel carries world space into the drawn model's space.
    Uniforms GetUniforms(const Math::Mat4& toModel) const;

    float SourceSize = 0.0f;
};

} // namespace Korvo
