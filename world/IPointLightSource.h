#pragma once

#include "app/Ptr.h"
#include "world/ILightSource.h"
#include "world/IModel.h"

#include <vector>

namespace GL {
class IProgram;
}

namespace Korvo {

// A point light: colours, reach and the per-frame lists of models it affects. The
// renderers read the fields directly.
class IPointLightSource : public ILightSource {
public:
    explicit IPointLightSource(float radius) : Radius(radius < 0.0f ? 0.0f : radius) {}
    ~IPointLightSource() override = default;

    // Radius of the light's own sphere (penumbra size and marker size).
    virtual float GetSourceSize() const = 0;
    // Draws the light's marker at its position; the caller sets colour and blending.
    virtual void DrawMarker() const = 0;
    // What SetUniforms puts on a program: with the light's world position too, or only the
    // values of the drawn model's space and the source size.
    static constexpr int UniformsWithWorldPosition = 0;
    static constexpr int UniformsInModelSpace = 1;

    // Sets the light's "u_LightSource" members on the bound program; toModel carries world
    // space into the drawn model's space.
    virtual void SetUniforms(const GL::IProgram& program, const Math::Mat4& toModel,
                             int mode) const = 0;
    // Rebuilds ModelsInRange from the models whose meshes reach into the light's sphere.
    virtual void CollectModelsInRange(const std::vector<Sys::Ptr<IModel>>& models) = 0;

    Math::Vec3f AmbientColor;
    Math::Vec3f DiffuseColor;
    Math::Vec3f SpecularColor;
    float Radius;
    std::vector<Sys::Ptr<IModel>> ModelsInRange;
    // Casters drawn in the depth-pass form; the scenes leave this list empty.
    std::vector<Sys::Ptr<IModel>> ZPassCasters;
    // Casters drawn in the depth-fail form with caps, whose penumbra wedges are drawn.
    std::vector<Sys::Ptr<IModel>> ZFailCasters;
};

} // namespace Korvo
