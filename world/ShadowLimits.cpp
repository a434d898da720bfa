#include "world/ShadowLimits.h"

#include <algorithm>

namespace Korvo {

using Math::Vec3f;

float ShadowLimits::Farthest(const Vec3f& axis) const
{
    float reach = Reach;
    if (HasView) {
        float farthest = Math::Dot(View[0] - Light, axis);
        for (const Vec3f& p : View)
            farthest = std::max(farthest, Math::Dot(p - Light, axis));
        reach = std::min(reach, farthest);
    }
    if (HasScene) {
        float farthest = Math::Dot(Scene[0] - Light, axis);
        for (const Vec3f& p : Scene)
            farthest = std::max(farthest, Math::Dot(p - Light, axis));
        reach = std::min(reach, farthest);
    }
    return reach * 1.01f + 1e-3f;
}

bool ShadowLimits::Beyond(const Vec3f& boxMin, const Vec3f& boxMax) const
{
    if (Reach <= 0.0f)
        return true;
    const Vec3f toCentre = (boxMin + boxMax) * 0.5f - Light;
    const float radius = (boxMax - boxMin).Length() * 0.5f;
    const float distance = toCentre.Length();
    if (distance > radius) {
        // Every point of the box's sphere lies at least distance - radius along the axis.
        const Vec3f axis = toCentre * (1.0f / distance);
        return Farthest(axis) <= distance - radius;
    }
    // Near a large box, the direction to its nearest point: the whole box lies past the
    // plane through that point across it.
    const Vec3f nearest(std::clamp(Light.x, boxMin.x, boxMax.x),
                        std::clamp(Light.y, boxMin.y, boxMax.y),
                        std::clamp(Light.z, boxMin.z, boxMax.z));
    const Vec3f toNearest = nearest - Light;
    const float along = toNearest.Length();
    if (along <= 0.0f)
        return false;
    return Farthest(toNearest * (1.0f / along)) <= along;
}

bool ShadowLimits::VolumeEnd(const Vec3f& boxMin, const Vec3f& boxMax, Vec3f& axis,
                             float& distance) const
{
    if (Reach <= 0.0f)
        return false;
    const Vec3f toCentre = (boxMin + boxMax) * 0.5f - Light;
    const float length = toCentre.Length();
    if (length <= 0.0f)
        return false;
    axis = toCentre * (1.0f / length);
    distance = Farthest(axis);
    for (int i = 0; i < 8; ++i) {
        const Vec3f corner(i & 1 ? boxMax.x : boxMin.x, i & 2 ? boxMax.y : boxMin.y,
                           i & 4 ? boxMax.z : boxMin.z);
        const float along = Math::Dot(corner - Light, axis);
        if (along < 0.1f * distance || along >= distance)
            return false;
    }
    return true;
}

} // namespace Korvo
