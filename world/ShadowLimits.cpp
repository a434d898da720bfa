#include "world/ShadowLimits.h"

#include <algorithm>

namespace Korvo {

using Math::Vec3f;

namespace {

// How far the rays from the light through the box's corners run on past them to the plane
// across the axis at the distance, added up; negative where a corner does not lie well ahead
// of the light and short of the plane.
float RunOn(const Vec3f& light, const Vec3f& boxMin, const Vec3f& boxMax, const Vec3f& axis,
            float distance)
{
    float total = 0.0f;
    for (int i = 0; i < 8; ++i) {
        const Vec3f corner(i & 1 ? boxMax.x : boxMin.x, i & 2 ? boxMax.y : boxMin.y,
                           i & 4 ? boxMax.z : boxMin.z);
        const float along = Math::Dot(corner - light, axis);
        if (along < 0.1f * distance || along >= distance)
            return -1.0f;
        total += (corner - light).Length() * (distance / along - 1.0f);
    }
    return total;
}

} // namespace

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
                             float& distance, bool anyAxis) const
{
    if (Reach <= 0.0f)
        return false;
    // Any axis will do whose plane every ray through the box meets ahead; of those, the one
    // where the rays through the box's corners run on the least past them. The axis to the
    // box's centre suits a box seen small from the light; a wide one spread out below or
    // beside the light ends best across the axis to its nearest point or of its own sides.
    const Vec3f nearest(std::clamp(Light.x, boxMin.x, boxMax.x),
                        std::clamp(Light.y, boxMin.y, boxMax.y),
                        std::clamp(Light.z, boxMin.z, boxMax.z));
    const Vec3f candidates[] = {(boxMin + boxMax) * 0.5f - Light, nearest - Light,
                                Axes[0], Axes[1], Axes[2], Axes[3], Axes[4], Axes[5]};
    float least = -1.0f;
    for (const Vec3f& candidate : candidates) {
        if (!anyAxis && &candidate != candidates)
            break;
        const float length = candidate.Length();
        if (length <= 0.0f)
            continue;
        const Vec3f direction = candidate * (1.0f / length);
        const float end = Farthest(direction);
        const float runOn = RunOn(Light, boxMin, boxMax, direction, end);
        if (runOn >= 0.0f && (least < 0.0f || runOn < least)) {
            least = runOn;
            axis = direction;
            distance = end;
        }
    }
    return least >= 0.0f;
}

} // namespace Korvo
