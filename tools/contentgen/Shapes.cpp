#include "tools/contentgen/Shapes.h"

#include <algorithm>
#include <cmath>

namespace Content {
namespace Shapes {

namespace {

const double Pi = 3.14159265358979323846;

// A cross-section of a swept solid: either one point on the axis (an apex) or `sides`
// points around it, in the turning direction that makes the quads face outward.
struct Ring {
    bool apex = false;
    Vec3d centre;
    std::vector<Vec3d> points;
    bool hard = false; // the next segment starts new vertices
    double v = 0;      // texture coordinate along the sweep
};

// Connects consecutive rings. A ring's vertices are shared by the segments on both sides
// unless the ring is hard. Around the ring nothing is split: a duplicated seam column would
// get normals from one side only and show as a crease on a smooth surface. The texture
// coordinate u therefore jumps from (sides - 1) / sides back to 0 on the closing strip,
// which still leaves every triangle a non-zero texture area.
void Sweep(TriMesh& mesh, const std::vector<Ring>& rings, int sides)
{
    std::vector<int> previous; // vertex indices of the end of the last segment
    bool previousUsable = false;
    for (size_t i = 0; i + 1 < rings.size(); ++i) {
        const Ring& a = rings[i];
        const Ring& b = rings[i + 1];
        auto emit = [&](const Ring& ring) {
            std::vector<int> ids;
            if (ring.apex) {
                ids.push_back(mesh.AddVertex(ring.centre, 0.5, ring.v));
            } else {
                for (int k = 0; k < sides; ++k)
                    ids.push_back(mesh.AddVertex(ring.points[k], double(k) / sides, ring.v));
            }
            return ids;
        };
        std::vector<int> ia = (previousUsable && !a.hard) ? previous : emit(a);
        std::vector<int> ib = emit(b);
        for (int k = 0; k < sides; ++k) {
            if (a.apex && b.apex)
                break;
            const int k1 = (k + 1) % sides;
            if (a.apex) {
                mesh.AddTriangle(ia[0], ib[k], ib[k1]);
            } else if (b.apex) {
                mesh.AddTriangle(ia[k], ib[0], ia[k1]);
            } else {
                mesh.AddTriangle(ia[k], ib[k], ia[k1]);
                mesh.AddTriangle(ia[k1], ib[k], ib[k1]);
            }
        }
        previous = ib;
        previousUsable = true;
    }
}

} // namespace

TriMesh Box(const Vec3d& half, const Xform& at)
{
    TriMesh mesh;
    // Each face: its outward normal axis n and two in-plane axes with u x v = n.
    const Vec3d axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int n = 0; n < 3; ++n) {
        for (int sign = -1; sign <= 1; sign += 2) {
            const Vec3d normal = axes[n] * double(sign);
            Vec3d u = axes[(n + 1) % 3];
            Vec3d v = axes[(n + 2) % 3];
            if (sign < 0)
                std::swap(u, v);
            const Vec3d c(normal.x * half.x, normal.y * half.y, normal.z * half.z);
            const Vec3d hu(u.x * half.x, u.y * half.y, u.z * half.z);
            const Vec3d hv(v.x * half.x, v.y * half.y, v.z * half.z);
            const int i0 = mesh.AddVertex(at.Apply(c - hu - hv), 0, 0);
            const int i1 = mesh.AddVertex(at.Apply(c + hu - hv), 1, 0);
            const int i2 = mesh.AddVertex(at.Apply(c + hu + hv), 1, 1);
            const int i3 = mesh.AddVertex(at.Apply(c - hu + hv), 0, 1);
            mesh.AddTriangle(i0, i1, i2);
            mesh.AddTriangle(i0, i2, i3);
        }
    }
    return mesh;
}

TriMesh Revolve(const std::vector<ProfilePoint>& profile, int sides, const Xform& at)
{
    std::vector<Ring> rings;
    double v = 0;
    for (size_t i = 0; i < profile.size(); ++i) {
        const ProfilePoint& p = profile[i];
        if (i > 0)
            v += std::hypot(p.r - profile[i - 1].r, p.y - profile[i - 1].y);
        Ring ring;
        ring.v = v * 0.05;
        ring.hard = p.hard;
        ring.centre = at.Apply({0, p.y, 0});
        if (p.r <= 1e-9) {
            ring.apex = true;
        } else {
            for (int k = 0; k < sides; ++k) {
                const double a = 2 * Pi * k / sides;
                ring.points.push_back(at.Apply({p.r * std::cos(a), p.y, p.r * std::sin(a)}));
            }
        }
        rings.push_back(ring);
    }
    TriMesh mesh;
    Sweep(mesh, rings, sides);
    return mesh;
}

TriMesh Cylinder(double radius, double height, int sides, const Xform& at)
{
    return Revolve({{0, 0}, {radius, 0, true}, {radius, height, true}, {0, height}}, sides, at);
}

TriMesh Ellipsoid(const Vec3d& radii, int sides, int stacks, const Xform& at)
{
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= stacks; ++i) {
        const double phi = Pi * i / stacks;
        profile.push_back({std::sin(phi), -std::cos(phi)});
    }
    profile.front().r = profile.back().r = 0;
    TriMesh mesh = Revolve(profile, sides);
    for (Vec3d& p : mesh.Positions)
        p = at.Apply({p.x * radii.x, p.y * radii.y, p.z * radii.z});
    return mesh;
}

TriMesh Capsule(const Vec3d& a, const Vec3d& b, double radius, int sides, int capStacks)
{
    const Vec3d axis = b - a;
    const double length = axis.Length();
    std::vector<ProfilePoint> profile;
    for (int i = 0; i <= capStacks; ++i) {
        const double phi = 0.5 * Pi * i / capStacks;
        profile.push_back({radius * std::sin(phi), -radius * std::cos(phi)});
    }
    for (int i = capStacks; i >= 0; --i) {
        const double phi = 0.5 * Pi * i / capStacks;
        profile.push_back({radius * std::sin(phi), length + radius * std::cos(phi)});
    }
    profile.front().r = profile.back().r = 0;
    // Local y runs along the axis; pick any perpendicular pair for x and z.
    const Vec3d y = Unit(axis);
    const Vec3d helper = std::fabs(y.x) < 0.9 ? Vec3d(1, 0, 0) : Vec3d(0, 0, 1);
    const Vec3d x = Unit(Math::Cross(y, helper));
    const Vec3d z = Math::Cross(x, y);
    Xform at = Xform::FromColumns(x, y, z);
    at.t = a;
    return Revolve(profile, sides, at);
}

TriMesh Tube(const std::vector<Vec3d>& path, double radius, int sides)
{
    const size_t n = path.size();
    std::vector<Vec3d> tangents(n);
    for (size_t i = 0; i < n; ++i) {
        const Vec3d& prev = path[i == 0 ? 0 : i - 1];
        const Vec3d& next = path[i + 1 == n ? n - 1 : i + 1];
        tangents[i] = Unit(next - prev);
    }
    // Parallel transport of a normal along the path keeps the rings from twisting.
    const Vec3d t0 = tangents[0];
    Vec3d normal = Unit(Math::Cross(t0, std::fabs(t0.y) < 0.9 ? Vec3d(0, 1, 0)
                                                              : Vec3d(1, 0, 0)));
    std::vector<Ring> rings;
    Ring start;
    start.apex = true;
    start.centre = path[0];
    rings.push_back(start);
    double v = 0;
    for (size_t i = 0; i < n; ++i) {
        const Vec3d t = tangents[i];
        if (i > 0) {
            v += (path[i] - path[i - 1]).Length();
            normal = Unit(normal - t * Math::Dot(normal, t));
        }
        // With N x B = -T the rings turn the same way as a profile turned about +y.
        const Vec3d binormal = Math::Cross(normal, t);
        Ring ring;
        ring.v = v * 0.05;
        ring.hard = (i == 0);
        for (int k = 0; k < sides; ++k) {
            const double a = 2 * Pi * k / sides;
            ring.points.push_back(path[i] + (normal * std::cos(a) + binormal * std::sin(a)) *
                                                radius);
        }
        rings.push_back(ring);
    }
    rings.back().hard = true;
    Ring end;
    end.apex = true;
    end.centre = path[n - 1];
    end.v = v * 0.05;
    rings.push_back(end);
    TriMesh mesh;
    Sweep(mesh, rings, sides);
    return mesh;
}

std::vector<Vec3d> RoundedPath(const std::vector<Vec3d>& corners, double bendRadius,
                               int bendSegments)
{
    std::vector<Vec3d> out;
    out.push_back(corners.front());
    for (size_t i = 1; i + 1 < corners.size(); ++i) {
        const Vec3d in = corners[i] - corners[i - 1];
        const Vec3d outLeg = corners[i + 1] - corners[i];
        const Vec3d d0 = Unit(in), d1 = Unit(outLeg);
        const double cosTurn = std::clamp(Math::Dot(d0, d1), -1.0, 1.0);
        const double turn = std::acos(cosTurn);
        if (turn < 1e-6) {
            out.push_back(corners[i]);
            continue;
        }
        // Distance from the corner to the arc's tangent points.
        double cut = bendRadius * std::tan(turn / 2);
        cut = std::min(cut, 0.5 * std::min(in.Length(), outLeg.Length()));
        const Vec3d p0 = corners[i] - d0 * cut;
        const Vec3d p1 = corners[i] + d1 * cut;
        // Quadratic Bezier through the corner: close to the arc and tangent at both ends.
        for (int s = 0; s <= bendSegments; ++s) {
            const double t = double(s) / bendSegments;
            out.push_back(p0 * ((1 - t) * (1 - t)) + corners[i] * (2 * t * (1 - t)) +
                          p1 * (t * t));
        }
    }
    out.push_back(corners.back());
    // Arcs that meet in the middle of a short leg share their end points; drop repeats so
    // that no two rings of a tube fall together.
    std::vector<Vec3d> distinct;
    for (const Vec3d& p : out)
        if (distinct.empty() || (p - distinct.back()).Length() > 0.1)
            distinct.push_back(p);
    return distinct;
}

std::vector<Vec3d> SaggingPath(const Vec3d& a, const Vec3d& b, double sag, int segments)
{
    std::vector<Vec3d> out;
    for (int s = 0; s <= segments; ++s) {
        const double t = double(s) / segments;
        Vec3d p = a + (b - a) * t;
        p.y -= sag * 4 * t * (1 - t);
        out.push_back(p);
    }
    return out;
}

} // namespace Shapes
} // namespace Content
