#pragma once

#include "app/Ptr.h"
#include "math/Vec3.h"
#include "world/IModel.h"
#include "world/IPointLightSource.h"
#include "world/ShadowLimits.h"

#include <vector>

namespace Korvo {

class IViewer;

// Which casters of each light can shadow anything the frame shows lit, and how far their
// shadows must reach (ShadowLimits, in each caster's space). A caster all of whose meshes
// lie beyond the limits' plane casts on nothing lit and is left out for that light.
//
// Update comes before the frame's first pass. The tables keep what they grew to, so a
// frame allocates nothing once the scene's lights and casters have been seen.
class ShadowReach {
public:
    ShadowReach();

    // viewer and world may be null (no frustum, no world in the scene's box).
    void Update(const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                const IViewer* viewer, const IModel* world,
                const std::vector<Sys::Ptr<IModel>>& models);

    // The light's casters whose shadows can fall on lit surfaces, in the light's own order.
    const std::vector<Sys::Ptr<IModel>>& ZPassCasters(const IPointLightSource& light) const;
    const std::vector<Sys::Ptr<IModel>>& ZFailCasters(const IPointLightSource& light) const;
    // The limits for a caster of ZFailCasters(light). Depth-pass volumes have no far cap to
    // close them and always reach infinity.
    const ShadowLimits& Limits(const IPointLightSource& light, const IModel& caster) const;

private:
    struct LightRow {
        const IPointLightSource* Light = nullptr;
        std::vector<Sys::Ptr<IModel>> ZPass;
        std::vector<Sys::Ptr<IModel>> ZFail;
        std::vector<ShadowLimits> Limits;   // one per ZFail caster
    };

    void AddBox(const IModel& model);
    // The world-space limits of the light carried into the caster's space; false when
    // every mesh of the caster lies beyond them.
    bool InModelSpace(const IPointLightSource& light, const IModel& caster,
                      ShadowLimits& limits) const;
    const LightRow& Row(const IPointLightSource& light) const;

    std::vector<LightRow> Rows;
    size_t RowCount = 0;
    std::vector<Math::Vec3f> Frustum;    // apex and the four far corners, or none
    std::vector<Math::Vec3f> SceneBox;   // eight corners, or none
    Math::Vec3f BoxMin, BoxMax;
    bool HasBox = false;
};

} // namespace Korvo
