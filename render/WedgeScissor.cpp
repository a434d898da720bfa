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
}

bool WedgeScissor::Pyramid(const Vec3f& end, float (*clip)[4]) const
{
    const Vec3f away = end - Limits.Light;
    const float h = away.Length();
    const float sinCone = 1.02f * SourceRadius / std::max(h, 1e-6f);
    if (sinCone >= 0.95f)
        return false;
    const Vec3f a = away / h;
    const float depth = std::max(Limits.Farthest(a) - h, 0.0f);
    const float half = 1.01f * depth * sinCone / std::sqrt(1.0f - sinCone * sinCone);
    const Vec3f helper = std::fabs(a.x) < 0.9f ? Vec3f(1, 0, 0) : Vec3f(0, 1, 0);
    const Vec3f u = Math::Normalize(Math::Cross(helper, a)) * half;
    const Vec3f v = Math::Cross(a, u);
    const Vec3f base = end + a * depth;
    const Vec3f points[5] = {end, base + u + v, base + u - v, base - u - v, base - u + v};
    const float* m = ToClip.Data();
    for (int i = 0; i < 5; ++i) {
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
        if (!Pyramid(edges[e].A, clip) || !Pyramid(edges[e].B, clip + 5))
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
