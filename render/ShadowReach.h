#pragma once

#include "app/Ptr.h"
#include "math/Vec3.h"
#include "world/IModel.h"
#include "world/IPointLightSource.h"

#include <vector>

namespace Korvo {

class IViewer;

// How far the shadow of each caster must reach for each light in one frame. A shadow
// matters only on surfaces that the light reaches and that can be seen: inside the light's
// sphere, inside the view frustum cut at the scene's farthest depth, and inside the box
// around the scene. For a caster whose bounding sphere lies apart from the light, all of
// these lie on the light's side of one plane across the axis from the light to the
// caster, and the caster's volume and wedges can stop there instead of at infinity. A
// caster whose shadow starts beyond that plane casts on nothing lit and is left out.
//
// Update comes before the frame's first pass. The tables keep what they grew to, so a
// frame allocates nothing once the scene's lights and casters have been seen.
class ShadowReach {
public:
    struct Bound {
        Math::Vec3f Axis;      // unit, in the caster's model space, away from the light
        float Distance = 0.0f; // from the light along Axis; 0: the shadow is not bounded
    };

    ShadowReach();

    // viewer and world may be null (no frustum, no world box).
    void Update(const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                const IViewer* viewer, const IModel* world,
                const std::vector<Sys::Ptr<IModel>>& models);

    // The light's casters whose shadows reach lit surfaces, in the light's own order.
    const std::vector<Sys::Ptr<IModel>>& ZPassCasters(const IPointLightSource& light) const;
    const std::vector<Sys::Ptr<IModel>>& ZFailCasters(const IPointLightSource& light) const;
    // The bound for a caster of ZFailCasters(light) (depth-pass volumes have no far cap to
    // close them and are never bounded).
    const Bound& GetBound(const IPointLightSource& light, const IModel& caster) const;

    // Sets "u_ShadowBound" (xyz axis, w distance) on the bound program; an unbounded shadow
    // sends zeros.
    static void SetUniform(const GL::IProgram& program, const Bound& bound);

private:
    struct LightRow {
        const IPointLightSource* Light = nullptr;
        std::vector<Sys::Ptr<IModel>> ZPass;
        std::vector<Sys::Ptr<IModel>> ZFail;
        std::vector<Bound> Bounds;   // one per ZFail caster
    };

    void AddBox(const IModel& model);
    const LightRow& Row(const IPointLightSource& light) const;

    std::vector<LightRow> Rows;
    size_t RowCount = 0;
    std::vector<Math::Vec3f> Frustum;    // apex and the four far corners, or none
    std::vector<Math::Vec3f> SceneBox;   // eight corners, or none
    Math::Vec3f BoxMin, BoxMax;
    bool HasBox = false;
};

} // namespace Korvo
