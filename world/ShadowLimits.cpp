#include "world/ShadowLimits.h"

#include "gl/IProgram.h"

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

void ShadowLimits::MeshBound(const Vec3f& boxMin, const Vec3f& boxMax, float bound[4],
                             bool& beyond) const
{
    bound[0] = bound[1] = bound[2] = bound[3] = 0.0f;
    beyond = false;
    if (Reach <= 0.0f)
        return;
    const Vec3f toCentre = (boxMin + boxMax) * 0.5f - Light;
    const float radius = (boxMax - boxMin).Length() * 0.5f;
    const float distance = toCentre.Length();
    if (distance <= radius * 1.01f + 1e-4f)
        return;
    const Vec3f axis = toCentre * (1.0f / distance);
    const float farthest = Farthest(axis);
    // Every point of the box lies at least distance - radius along the axis.
    beyond = farthest <= distance - radius;
    bound[0] = axis.x, bound[1] = axis.y, bound[2] = axis.z, bound[3] = farthest;
}

void ShadowLimits::SetVolumeUniform(const GL::IProgram& program, const Vec3f& boxMin,
                                    const Vec3f& boxMax) const
{
    float bound[4];
    bool beyond;
    MeshBound(boxMin, boxMax, bound, beyond);
    program.SetUniform4f("u_ShadowBound", bound);
}

void ShadowLimits::SetWedgeUniforms(const GL::IProgram& program) const
{
    const float reach[4] = {0.0f, 0.0f, 0.0f, Reach};
    float view[5 * 3], scene[8 * 3];
    for (int i = 0; i < 5; ++i)
        view[3 * i] = View[i].x, view[3 * i + 1] = View[i].y, view[3 * i + 2] = View[i].z;
    for (int i = 0; i < 8; ++i)
        scene[3 * i] = Scene[i].x, scene[3 * i + 1] = Scene[i].y, scene[3 * i + 2] = Scene[i].z;
    const float use[2] = {HasView ? 1.0f : 0.0f, HasScene ? 1.0f : 0.0f};
    program.SetUniform4f("u_ShadowBound", reach);
    program.SetUniformArray("u_ViewHull", 5, 3, view);
    program.SetUniformArray("u_SceneHull", 8, 3, scene);
    program.SetUniform2f("u_HullUse", use);
}

} // namespace Korvo
