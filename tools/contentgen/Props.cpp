#include "tools/contentgen/Props.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace Content {

int ModelFile::TriangleCount() const
{
    int count = 0;
    for (const TriMesh& m : Objects)
        count += m.TriangleCount();
    return count;
}

namespace Props {

TriMesh Barrel(double radius, double height, int sides, const Xform& at)
{
    const double r = radius, h = height, lip = 0.6, hoop = 0.7;
    std::vector<Shapes::ProfilePoint> profile = {{0, -0.5}, {r - lip, -0.5, true},
                                                 {r, lip, true}};
    for (double y : {h * 0.33, h * 0.67}) {
        profile.push_back({r, y - 1.2, true});
        profile.push_back({r + hoop, y - 0.6, true});
        profile.push_back({r + hoop, y + 0.6, true});
        profile.push_back({r, y + 1.2, true});
    }
    profile.push_back({r, h - lip, true});
    profile.push_back({r - lip, h, true});
    // The lid sits a little below the rim.
    profile.push_back({r - 1.4, h, true});
    profile.push_back({r - 1.4, h - 1.0, true});
    profile.push_back({0, h - 1.0});
    return Shapes::Revolve(profile, sides, at);
}

TriMesh Crate(const Vec3d& size, const Xform& at)
{
    const Vec3d half = size * 0.5;
    TriMesh mesh = Shapes::Box(half, at * Xform::Translate({0, half.y - 0.5, 0}));
    const double band = std::min(3.0, size.y * 0.12);
    for (double y : {band * 0.5 + 1.0, size.y - band * 0.5 - 1.0})
        mesh.Append(Shapes::Box({half.x + 0.6, band * 0.5, half.z + 0.6},
                                at * Xform::Translate({0, y - 0.5, 0})));
    return mesh;
}

TriMesh Pallet(const Vec3d& size, const Xform& at)
{
    TriMesh mesh;
    const double runner = 3.5, deck = 1.5;
    for (int i = -1; i <= 1; ++i)
        mesh.Append(Shapes::Box({size.x * 0.5 - 1.0, runner * 0.5, 2.0},
                                at * Xform::Translate({0, runner * 0.5 - 0.5,
                                                       i * (size.z * 0.5 - 2.5)})));
    mesh.Append(Shapes::Box({size.x * 0.5, deck * 0.5, size.z * 0.5},
                            at * Xform::Translate({0, runner - 0.5 + deck * 0.4, 0})));
    return mesh;
}

TriMesh Flange(const Vec3d& centre, const Vec3d& direction, double radius, double length,
               int sides)
{
    const Vec3d y = Unit(direction);
    const Vec3d helper = std::fabs(y.x) < 0.9 ? Vec3d(1, 0, 0) : Vec3d(0, 0, 1);
    const Vec3d x = Unit(Math::Cross(y, helper));
    const Vec3d z = Math::Cross(x, y);
    Xform at = Xform::FromColumns(x, y, z);
    at.t = centre - y * (length * 0.5);
    return Shapes::Cylinder(radius, length, sides, at);
}

TriMesh PipeRun(const std::vector<Vec3d>& corners, double radius, int sides)
{
    TriMesh mesh = Shapes::Tube(Shapes::RoundedPath(corners, radius * 2.5, 5), radius, sides);
    for (size_t i = 0; i + 1 < corners.size(); ++i) {
        const Vec3d leg = corners[i + 1] - corners[i];
        if (leg.Length() > radius * 14)
            mesh.Append(Flange(corners[i] + leg * 0.5, leg, radius * 1.45, radius * 0.8,
                               sides));
    }
    return mesh;
}

TriMesh Room(const Vec3d& lo, const Vec3d& hi)
{
    TriMesh mesh;
    auto quad = [&mesh](const Vec3d& a, const Vec3d& b, const Vec3d& c, const Vec3d& d) {
        const double su = (b - a).Length() / 64, sv = (d - a).Length() / 64;
        const int i0 = mesh.AddVertex(a, 0, 0), i1 = mesh.AddVertex(b, su, 0);
        const int i2 = mesh.AddVertex(c, su, sv), i3 = mesh.AddVertex(d, 0, sv);
        mesh.AddTriangle(i0, i1, i2);
        mesh.AddTriangle(i0, i2, i3);
    };
    const double x0 = lo.x, x1 = hi.x, z0 = lo.z, z1 = hi.z, y0 = lo.y, y1 = hi.y;
    // Floor, facing up.
    quad({x0, y0, z1}, {x1, y0, z1}, {x1, y0, z0}, {x0, y0, z0});
    // Walls, facing into the room.
    quad({x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0});
    quad({x1, y0, z1}, {x0, y0, z1}, {x0, y1, z1}, {x1, y1, z1});
    quad({x0, y0, z1}, {x0, y0, z0}, {x0, y1, z0}, {x0, y1, z1});
    quad({x1, y0, z0}, {x1, y0, z1}, {x1, y1, z1}, {x1, y1, z0});
    // Skirting ledge and pilasters give the walls some relief: boxes half sunk into the
    // walls and the floor, seen only from inside.
    auto block = [&mesh](const Vec3d& a, const Vec3d& b) {
        TriMesh box = Shapes::Box((b - a) * 0.5, Xform::Translate((a + b) * 0.5));
        mesh.Append(box);
    };
    const double ledge = 6, step = 80, pil = 8;
    block({x0, y0 - 1, z0 - 1}, {x1, y0 + ledge, z0 + 2});
    block({x0, y0 - 1, z1 - 2}, {x1, y0 + ledge, z1 + 1});
    block({x0 - 1, y0 - 1, z0}, {x0 + 2, y0 + ledge, z1});
    block({x1 - 2, y0 - 1, z0}, {x1 + 1, y0 + ledge, z1});
    for (double x = x0 + step; x < x1 - step * 0.5; x += step)
        block({x - pil, y0 - 1, z0 - 1}, {x + pil, y1, z0 + 5});
    for (double z = z0 + step; z < z1 - step * 0.5; z += step) {
        block({x0 - 1, y0 - 1, z - pil}, {x0 + 5, y1, z + pil});
        block({x1 - 5, y0 - 1, z - pil}, {x1 + 1, y1, z + pil});
    }
    return mesh;
}

std::vector<TriMesh> Pack(const std::string& name, const std::vector<TriMesh>& parts,
                          int maxTriangles)
{
    std::vector<TriMesh> objects;
    for (const TriMesh& part : parts) {
        if (part.TriangleCount() > maxTriangles)
            throw std::runtime_error("a part of " + name + " is larger than one caster mesh");
        if (objects.empty() ||
            objects.back().TriangleCount() + part.TriangleCount() > maxTriangles) {
            objects.emplace_back();
            char suffix[16] = "";
            if (objects.size() > 1)
                std::snprintf(suffix, sizeof suffix, "%02d", int(objects.size()));
            objects.back().Name = name + suffix;
        }
        objects.back().Append(part);
    }
    return objects;
}

} // namespace Props
} // namespace Content
