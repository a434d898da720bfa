#pragma once

#include "math/Vec3.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

// Shapes shared by the shadow tests and the benchmarks.
namespace TestMeshes {

using Triangle = std::array<uint16_t, 3>;

struct Mesh {
    std::vector<Math::Vec3f> Positions;
    std::vector<Triangle> Triangles;
};

// A closed torus of 2 * rings * sides outward-facing triangles.
inline Mesh Torus(int rings, int sides, float major = 2.0f, float minor = 0.7f)
{
    Mesh m;
    const float pi2 = 6.2831853f;
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < sides; ++j) {
            const float u = pi2 * i / rings, v = pi2 * j / sides;
            const float r = major + minor * std::cos(v);
            m.Positions.push_back({r * std::cos(u), r * std::sin(u), minor * std::sin(v)});
        }
    auto at = [&](int i, int j) {
        return static_cast<uint16_t>((i % rings) * sides + (j % sides));
    };
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < sides; ++j) {
            m.Triangles.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
            m.Triangles.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
        }
    return m;
}

// The same torus with every triangle given vertices of its own, displaced by up to
// jitter: every neighbour must then be found by position.
inline Mesh Split(const Mesh& in, float jitter, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> d(-jitter, jitter);
    Mesh m;
    for (const Triangle& t : in.Triangles) {
        Triangle s;
        for (int k = 0; k < 3; ++k) {
            s[k] = static_cast<uint16_t>(m.Positions.size());
            m.Positions.push_back(in.Positions[t[k]] + Math::Vec3f(d(random), d(random), d(random)));
        }
        m.Triangles.push_back(s);
    }
    return m;
}

// Random triangles over a small pool of vertices, some of them copies of others within
// or just beyond the weld distance: many ambiguous index and position matches.
inline Mesh Random(int triangles, int vertices, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, vertices - 1);
    std::uniform_real_distribution<float> coord(0.0f, 0.3f);
    std::uniform_real_distribution<float> near(-0.04f, 0.04f);
    Mesh m;
    for (int v = 0; v < vertices; ++v) {
        if (v > 0 && v % 3 == 0) {
            const Math::Vec3f& base = m.Positions[pick(random) % v];
            m.Positions.push_back(base + Math::Vec3f(near(random), near(random), near(random)));
        } else {
            m.Positions.push_back({coord(random), coord(random), coord(random)});
        }
    }
    for (int t = 0; t < triangles; ++t)
        m.Triangles.push_back({static_cast<uint16_t>(pick(random)),
                               static_cast<uint16_t>(pick(random)),
                               static_cast<uint16_t>(pick(random))});
    return m;
}

} // namespace TestMeshes
