#include "render/ShadowReach.h"

#include "app/DeveloperException.h"
#include "math/Mat4.h"
#include "media/IMesh.h"
#include "world/IViewer.h"

#include <algorithm>

namespace Korvo {

using Math::Vec3f;

namespace {

// The box around the model's meshes, in model space; false for a model without meshes.
bool ModelBox(const IModel& model, Vec3f& lo, Vec3f& hi)
{
    if (model.Meshes.empty())
        return false;
    lo = model.Meshes[0]->BoundsMin;
    hi = model.Meshes[0]->BoundsMax;
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
        lo = Vec3f(std::min(lo.x, mesh->BoundsMin.x), std::min(lo.y, mesh->BoundsMin.y),
                   std::min(lo.z, mesh->BoundsMin.z));
        hi = Vec3f(std::max(hi.x, mesh->BoundsMax.x), std::max(hi.y, mesh->BoundsMax.y),
                   std::max(hi.z, mesh->BoundsMax.z));
    }
    return true;
}

Vec3f Corner(const Vec3f& lo, const Vec3f& hi, int i)
{
    return Vec3f(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z);
}

bool IsPerspective(const Math::Mat4& projection)
{
    return projection(3, 2) == -1.0f && projection(3, 3) == 0.0f && projection(0, 0) > 0.0f &&
           projection(1, 1) > 0.0f;
}

} // namespace

ShadowReach::ShadowReach()
{
    constexpr size_t lights = 8;
    constexpr size_t casters = 64;
    Rows.resize(lights);
    for (LightRow& row : Rows) {
        row.ZPass.reserve(casters);
        row.ZFail.reserve(casters);
    }
    Frustum.reserve(5);
    SceneBox.reserve(8);
}

void ShadowReach::AddBox(const IModel& model)
{
    Vec3f lo, hi;
    if (!ModelBox(model, lo, hi))
        return;
    const Math::Mat4 toWorld = model.GetModelMatrix();
    for (int i = 0; i < 8; ++i) {
        const Vec3f p = toWorld.TransformPoint(Corner(lo, hi, i));
        BoxMin = HasBox ? Vec3f(std::min(BoxMin.x, p.x), std::min(BoxMin.y, p.y),
                                std::min(BoxMin.z, p.z))
                        : p;
        BoxMax = HasBox ? Vec3f(std::max(BoxMax.x, p.x), std::max(BoxMax.y, p.y),
                                std::max(BoxMax.z, p.z))
                        : p;
        HasBox = true;
    }
}

void ShadowReach::Update(const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                         const IViewer* viewer, const IModel* world,
                         const std::vector<Sys::Ptr<IModel>>& models)
{
    HasBox = false;
    if (world != nullptr)
        AddBox(*world);
    for (const Sys::Ptr<IModel>& model : models)
        AddBox(*model);
    SceneBox.clear();
    if (HasBox)
        for (int i = 0; i < 8; ++i)
            SceneBox.push_back(Corner(BoxMin, BoxMax, i));

    // The frustum of a perspective projection, cut at the scene's farthest depth: its apex
    // and the four corners there hold everything the frame can show.
    Frustum.clear();
    if (viewer != nullptr && HasBox) {
        const Math::Mat4& projection = viewer->GetProjectionMatrix();
        const Math::Mat4& view = viewer->GetViewMatrix();
        if (IsPerspective(projection)) {
            float depth = 0.0f;
            for (const Vec3f& corner : SceneBox)
                depth = std::max(depth, -view.TransformPoint(corner).z);
            if (depth > 0.0f) {
                const Math::Mat4 toWorld = view.InverseRigid();
                Frustum.push_back(toWorld.TransformPoint(Vec3f(0.0f, 0.0f, 0.0f)));
                for (int i = 0; i < 4; ++i) {
                    // x / -z in view space is (x_ndc + m02) / m00 at the screen's sides.
                    const float sx = i & 1 ? 1.0f : -1.0f, sy = i & 2 ? 1.0f : -1.0f;
                    const float x = (sx + projection(0, 2)) / projection(0, 0);
                    const float y = (sy + projection(1, 2)) / projection(1, 1);
                    Frustum.push_back(toWorld.TransformPoint(Vec3f(x * depth, y * depth, -depth)));
                }
            }
        }
    }

    if (Rows.size() < lights.size())
        Rows.resize(lights.size());
    RowCount = lights.size();
    for (size_t l = 0; l < lights.size(); ++l) {
        const IPointLightSource& light = *lights[l];
        LightRow& row = Rows[l];
        row.Light = &light;
        row.ZPass.clear();
        row.ZFail.clear();
        row.DepthNearest = 0.0f;
        row.DepthFarthest = 1.0f;
        if (viewer != nullptr && IsPerspective(viewer->GetProjectionMatrix())) {
            const Math::Mat4& projection = viewer->GetProjectionMatrix();
            const float depth = -viewer->GetViewMatrix().TransformPoint(light.Position).z;
            row.DepthNearest = WindowDepth(projection, depth - light.Radius * 1.01f);
            row.DepthFarthest = WindowDepth(projection, depth + light.Radius * 1.01f);
        }
        for (const Sys::Ptr<IModel>& caster : light.ZPassCasters)
            if (Casts(light, *caster))
                row.ZPass.push_back(caster);
        for (const Sys::Ptr<IModel>& caster : light.ZFailCasters)
            if (Casts(light, *caster))
                row.ZFail.push_back(caster);
    }
}

ShadowLimits ShadowReach::LimitsFor(const IPointLightSource& light, const IModel& caster) const
{
    ShadowLimits limits;
    const Math::Mat4 toModel = caster.GetModelMatrix().InverseRigid();
    limits.Light = toModel.TransformPoint(light.Position);
    limits.Reach = light.Radius;
    limits.HasView = !Frustum.empty();
    for (size_t i = 0; i < Frustum.size(); ++i)
        limits.View[i] = toModel.TransformPoint(Frustum[i]);
    limits.HasScene = !SceneBox.empty();
    for (size_t i = 0; i < SceneBox.size(); ++i)
        limits.Scene[i] = toModel.TransformPoint(SceneBox[i]);
    return limits;
}

bool ShadowReach::Casts(const IPointLightSource& light, const IModel& caster) const
{
    if (light.Radius <= 0.0f)
        return false;
    const ShadowLimits limits = LimitsFor(light, caster);
    for (const Sys::Ptr<IMesh>& mesh : caster.Meshes)
        if (!limits.Beyond(mesh->BoundsMin, mesh->BoundsMax))
            return true;
    return false;
}

const ShadowReach::LightRow& ShadowReach::Row(const IPointLightSource& light) const
{
    for (size_t i = 0; i < RowCount; ++i)
        if (Rows[i].Light == &light)
            return Rows[i];
    throw Sys::DeveloperException("A light was drawn that the frame's shadow table lacks.");
}

const std::vector<Sys::Ptr<IModel>>& ShadowReach::ZPassCasters(const IPointLightSource& light) const
{
    return Row(light).ZPass;
}

const std::vector<Sys::Ptr<IModel>>& ShadowReach::ZFailCasters(const IPointLightSource& light) const
{
    return Row(light).ZFail;
}

void ShadowReach::DepthBounds(const IPointLightSource& light, float& nearest,
                              float& farthest) const
{
    const LightRow& row = Row(light);
    nearest = row.DepthNearest;
    farthest = row.DepthFarthest;
}

float ShadowReach::WindowDepth(const Math::Mat4& projection, float depth)
{
    // Clip z = m22 * z + m23 with z = -depth, w = depth; window depth = (z / w + 1) / 2.
    const float nearPlane = projection(2, 3) / (projection(2, 2) - 1.0f);
    if (depth <= nearPlane)
        return 0.0f;
    const float ndc = (-projection(2, 2) * depth + projection(2, 3)) / depth;
    return std::min(1.0f, std::max(0.0f, 0.5f * ndc + 0.5f));
}

GL::RasterState ShadowReach::DepthBounded(const IPointLightSource& light,
                                          const GL::RasterState& block, bool test) const
{
    if (!test)
        return block;
    float nearest, farthest;
    DepthBounds(light, nearest, farthest);
    return block.DepthBoundsTest(nearest, farthest);
}

} // namespace Korvo
