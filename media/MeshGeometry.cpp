#include "media/MeshGeometry.h"

#include "app/Exception.h"

#include <algorithm>

namespace Korvo {

void MeshGeometry::CheckTriangles(size_t count, const std::vector<Triangle>& T)
{
    for (size_t t = 0; t < T.size(); ++t)
        for (uint16_t index : T[t])
            if (index >= count)
                throw Sys::Exception("Face #%zu uses vertex %u of %zu.", t, unsigned(index), count);
}

std::vector<Math::Vec3f> MeshGeometry::Normals(const std::vector<Math::Vec3f>& P,
                                               const std::vector<Triangle>& T)
{
    std::vector<Math::Vec3f> normals(P.size());
    for (const Triangle& t : T) {
        const Math::Vec3f n = Math::Cross(P[t[1]] - P[t[0]], P[t[2]] - P[t[0]]);
        for (uint16_t i : t)
            normals[i] += n;
    }
    for (Math::Vec3f& n : normals)
        n = Math::Normalize(n);
    return normals;
}

void MeshGeometry::TangentFrame(const std::vector<Math::Vec3f>& P,
                                const std::vector<std::array<float, 2>>& UV,
                                const std::vector<Math::Vec3f>& N,
                                const std::vector<Triangle>& T,
                                std::vector<Math::Vec3f>& tangents,
                                std::vector<Math::Vec3f>& bitangents)
{
    std::vector<Math::Vec3f> ta(P.size()), ba(P.size());
    for (const Triangle& t : T) {
        const Math::Vec3f &p0 = P[t[0]], &p1 = P[t[1]], &p2 = P[t[2]];
        const float s0 = UV[t[0]][0], t0 = UV[t[0]][1];
        const float s1 = UV[t[1]][0], t1 = UV[t[1]][1];
        const float s2 = UV[t[2]][0], t2 = UV[t[2]][1];

        const float d = (s0 - s1) * t2 + (s1 - s2) * t0 + (s2 - s0) * t1;
        const float e = (t2 - t0) * s1 + (t1 - t2) * s0 + (t0 - t1) * s2;
        if (d != 0.0f) {
            const Math::Vec3f tangent = (p0 * (s1 - s2) + p1 * (s2 - s0) + p2 * (s0 - s1)) / d;
            for (uint16_t i : t)
                ta[i] += tangent;
        }
        if (e != 0.0f) {
            const Math::Vec3f bitangent = (p0 * (t1 - t2) + p1 * (t2 - t0) + p2 * (t0 - t1)) / e;
            for (uint16_t i : t)
                ba[i] += bitangent;
        }
    }

    tangents.assign(P.size(), {});
    bitangents.assign(P.size(), {});
    for (size_t i = 0; i < P.size(); ++i) {
        const Math::Vec3f& n = N[i];
        const Math::Vec3f tangent = Math::Normalize(ta[i] - n * Math::Dot(ta[i], n));
        const float handedness = Math::Dot(Math::Cross(n, ta[i]), ba[i]) >= 0.0f ? 1.0f : -1.0f;
        tangents[i] = tangent;
        bitangents[i] = Math::Normalize(Math::Cross(n, tangent) * handedness);
    }
}

void MeshGeometry::Bounds(const std::vector<Math::Vec3f>& P, Math::Vec3f& lo, Math::Vec3f& hi)
{
    lo = hi = Math::Vec3f();
    if (P.empty())
        return;
    lo = hi = P[0];
    for (const Math::Vec3f& p : P)
        for (int a = 0; a < 3; ++a) {
            lo[a] = std::min(lo[a], p[a]);
            hi[a] = std::max(hi[a], p[a]);
        }
}

} // namespace Korvo
