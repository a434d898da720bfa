#pragma once

#include "world/IViewer.h"

#include <string>

namespace Korvo {

// A perspective viewer. With depth clamping off the far plane moves to infinity, so
// shadow volumes extruded to infinity are never clipped; with it on the far plane stays
// finite and the clamp keeps what lies beyond it.
class Viewer : public IViewer {
public:
    static constexpr float kShortRangeFar = 30.0f;
    static constexpr float kInfiniteEpsilon = 1e-6f;

    Viewer() = default;
    ~Viewer() override = default;

    std::string GetTypeName() const override { return "Korvo::Viewer"; }

    // Field of view in degrees, vertical; the values are clamped to a usable range.
    void SetProjection(float fov, float aspect, float near, float far);
    // Places the eye and aims it at centre; the camera looks down its negative z axis
    // with up as close to the given vector as the view direction allows.
    void LookAt(const Math::Vec3f& eye, const Math::Vec3f& centre, const Math::Vec3f& up);

    void Draw() const override;

    const Math::Mat4& GetViewMatrix() const override { return view; }
    const Math::Mat4& GetProjectionMatrix() const override { return projection; }
    const Math::Mat4& GetShortRangeProjectionMatrix() const override { return shortRange; }

    float GetFieldOfView() const { return fov; }
    float GetAspect() const { return aspect; }
    float GetNear() const { return zNear; }
    float GetFar() const { return zFar; }

private:
    float fov = 90.0f;
    float aspect = 1.33333f;
    float zNear = 4.0f;
    float zFar = 4096.0f;
    Math::Mat4 view;
    Math::Mat4 projection;
    Math::Mat4 shortRange;
};

} // namespace Korvo
