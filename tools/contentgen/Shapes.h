#pragma once

#include "tools/contentgen/TriMesh.h"

#include <vector>

namespace Content {
namespace Shapes {

// One point of a profile turned about the y axis: radius r at height y. A hard point
// starts new vertices, so the normals on its two sides do not blend (a rim, a cap edge).
struct ProfilePoint {
    double r = 0, y = 0;
    bool hard = false;
};

// Box of the given half extents centred on the origin, then placed. Every face has its own
// four vertices.
TriMesh Box(const Vec3d& half, const Xform& at = Xform());

// Surface of revolution about the local y axis; a profile that starts and ends on the axis
// (r = 0) gives a closed solid. The profile runs from the bottom up.
TriMesh Revolve(const std::vector<ProfilePoint>& profile, int sides, const Xform& at = Xform());

// Closed cylinder standing on y = 0, hard rims.
TriMesh Cylinder(double radius, double height, int sides, const Xform& at = Xform());

// Smooth ellipsoid with the given radii, centred on the origin.
TriMesh Ellipsoid(const Vec3d& radii, int sides, int stacks, const Xform& at = Xform());

// Smooth capsule of the given radius whose axis runs from a to b; both ends are half spheres.
TriMesh Capsule(const Vec3d& a, const Vec3d& b, double radius, int sides, int capStacks);

// Closed tube of the given radius along a polyline, capped with flat hard ends. Frames are
// carried along the path without twist.
TriMesh Tube(const std::vector<Vec3d>& path, double radius, int sides);

// The polyline through the given corners with every inner corner replaced by a circular
// arc of the given radius (clipped to half of the shorter adjacent leg).
std::vector<Vec3d> RoundedPath(const std::vector<Vec3d>& corners, double bendRadius,
                               int bendSegments);

// A hanging cable from a to b that sags by `sag` below the chord at its middle.
std::vector<Vec3d> SaggingPath(const Vec3d& a, const Vec3d& b, double sag, int segments);

} // namespace Shapes
} // namespace Content
