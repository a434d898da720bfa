#include "render/WedgeScissor.h"

#include <algorithm>
#include <cmath>

namespace Korvo {

using Math::Vec3f;

WedgeScissor::WedgeScissor(const ShadowLimits& limits, float sourceRadius,
                           const Math::Mat4& toClip, float nearPlane, int width, int height)
    : Limits(limits), SourceRadius(sourceRadius), ToClip(toClip), NearPlane(nearPlane),
      Width(width), Height(height)
{
    for (int i = 0; i < 6; ++i)
        AxisReach[i] = Limits.Farthest(ShadowLimits::Axes[i]);
}

bool WedgeScissor::Directions(const Vec3f& end, Vec3f* directions, Vec3f& axis) const
{
    const Vec3f away = end - Limits.Light;
    const float h = away.Length();
    const float sinCone = 1.02f * SourceRadius / std::max(h, 1e-6f);
    if (sinCone >= 0.95f)
        return false;
    axis = away / h;
    const float spread = 1.01f * sinCone / std::sqrt(1.0f - sinCone * sinCone);
    const Vec3f helper = std::fabs(axis.x) < 0.9f ? Vec3f(1, 0, 0) : Vec3f(0, 1, 0);
    const Vec3f u = Math::Normalize(Math::Cross(helper, axis)) * spread;
    const Vec3f v = Math::Cross(axis, u);
    directions[0] = axis + u + v;
    directions[1] = axis + u - v;
    directions[2] = axis - u - v;
    directions[3] = axis - u + v;
    return true;
}

bool WedgeScissor::EdgeHull(const IMeshAdjacency::Edge& edge, float (*clip)[4]) const
{
    Vec3f directions[8], axisA, axisB;
    if (!Directions(edge.A, directions, axisA) || !Directions(edge.B, directions + 4, axisB))
        return false;
    const Vec3f ends[2] = {edge.A - Limits.Light, edge.B - Limits.Light};
    const float length = directions[0].Length();   // all eight are as long

    // Of the ends' mean direction and the caster's axes, the one across which every
    // direction heads at a tenth or more and whose plane the rays reach soonest.
    const Vec3f mean = axisA + axisB;
    const float meanLength = mean.Length();
    int best = -1;
    float bestRun = 0.0f, bestReach = 0.0f;
    Vec3f bestAxis;
    for (int c = 0; c < 7; ++c) {
        if (c == 0 && meanLength < 1e-3f)
            continue;
        const Vec3f axis = c == 0 ? mean / meanLength : ShadowLimits::Axes[c - 1];
        const float reach = c == 0 ? Limits.Farthest(axis) : AxisReach[c - 1];
        float run = 0.0f;
        bool across = true;
        for (int k = 0; k < 8 && across; ++k) {
            const float along = Math::Dot(directions[k], axis);
            across = along >= 0.1f * length;
            if (across)
                run += std::max(reach - Math::Dot(ends[k / 4], axis), 0.0f) / along;
        }
        if (across && (best < 0 || run < bestRun)) {
            best = c;
            bestRun = run;
            bestReach = reach;
            bestAxis = axis;
        }
    }
    if (best < 0)
        return false;

    Vec3f points[10] = {edge.A, edge.B};
    for (int k = 0; k < 8; ++k) {
        const float rest = std::max(bestReach - Math::Dot(ends[k / 4], bestAxis), 0.0f);
        points[2 + k] = (k < 4 ? edge.A : edge.B) +
                        directions[k] * (rest / Math::Dot(directions[k], bestAxis));
    }
    const float* m = ToClip.Data();
    for (int i = 0; i < 10; ++i) {
        const Vec3f& p = points[i];
        for (int k = 0; k < 4; ++k)
            clip[i][k] = m[k] * p.x + m[4 + k] * p.y + m[8 + k] * p.z + m[12 + k];
    }
    return true;
}

bool WedgeScissor::Rectangle(const IMeshAdjacency::Edge* edges, int count, int rect[4]) const
{
    float lowX = INFINITY, lowY = INFINITY, highX = -INFINITY, highY = -INFINITY;
    const auto extend = [&](const float* p) {
        const float x = (0.5f + 0.5f * p[0] / p[3]) * static_cast<float>(Width);
        const float y = (0.5f + 0.5f * p[1] / p[3]) * static_cast<float>(Height);
        lowX = std::min(lowX, x);
        highX = std::max(highX, x);
        lowY = std::min(lowY, y);
        highY = std::max(highY, y);
    };
    for (int e = 0; e < count; ++e) {
        // The hull of the edge's ten points, cut at the near plane (clip w is the depth in
        // front of the eye): the points in front of it, and where the segments between one
        // in front and one behind cross it.
        float clip[10][4];
        if (!EdgeHull(edges[e], clip))
            return false;
        for (int i = 0; i < 10; ++i) {
            const bool front = clip[i][3] >= NearPlane;
            if (front)
                extend(clip[i]);
            for (int j = i + 1; j < 10; ++j) {
                if ((clip[j][3] >= NearPlane) == front)
                    continue;
                const float t = (NearPlane - clip[i][3]) / (clip[j][3] - clip[i][3]);
                float cut[4];
                for (int k = 0; k < 4; ++k)
                    cut[k] = clip[i][k] + t * (clip[j][k] - clip[i][k]);
                cut[3] = NearPlane;
                extend(cut);
            }
        }
    }
    // Clamped in floating point first: far off the window the projections grow huge.
    const auto pixel = [](float value, int limit) {
        return static_cast<int>(std::clamp(value, 0.0f, static_cast<float>(limit)));
    };
    const int x0 = pixel(std::floor(lowX) - 2.0f, Width);
    const int y0 = pixel(std::floor(lowY) - 2.0f, Height);
    const int x1 = pixel(std::ceil(highX) + 2.0f, Width);
    const int y1 = pixel(std::ceil(highY) + 2.0f, Height);
    rect[0] = x0;
    rect[1] = y0;
    rect[2] = std::max(x1 - x0, 0);
    rect[3] = std::max(y1 - y0, 0);
    return true;
}

} // namespace Korvo
