#pragma once

#include "tools/contentgen/Shapes.h"

#include <string>
#include <vector>

namespace Content {

// One model file of a scene: its path below "MediaData/Models/" and its named objects.
struct ModelFile {
    std::string Path;
    bool CastsShadows = true;
    std::vector<TriMesh> Objects;

    int TriangleCount() const;
};

// The adjacency of one caster mesh holds at most 3000 silhouette edges and 3000 cap
// triangles, and refuses a mesh that could outgrow them. A closed mesh of T triangles has
// 3T/2 edges, any of which may be on the silhouette, so casters stay at 2000 triangles.
constexpr int MaxCasterTriangles = 2000;

namespace Props {

// Steel drum standing on its base at `at` (y = 0 is the floor), with two rolling hoops.
TriMesh Barrel(double radius, double height, int sides, const Xform& at);

// Wooden crate with two protruding bands around it, resting on y = 0 of `at`.
TriMesh Crate(const Vec3d& size, const Xform& at);

// Pallet of three runners under a deck, resting on y = 0 of `at`.
TriMesh Pallet(const Vec3d& size, const Xform& at);

// Short disc around an axis through `centre` along `direction`.
TriMesh Flange(const Vec3d& centre, const Vec3d& direction, double radius, double length,
               int sides);

// Pipe through the corners with rounded bends and a flange at the middle of every leg
// that is long enough.
TriMesh PipeRun(const std::vector<Vec3d>& corners, double radius, int sides);

// Room shell seen from inside: floor and four walls with a skirting ledge and pilasters.
// It is the level: it receives shadows and casts none, so it need not be closed.
TriMesh Room(const Vec3d& lo, const Vec3d& hi);

// Groups closed parts into objects of at most `maxTriangles` triangles each, named
// `name`, `name` + "02", ...
std::vector<TriMesh> Pack(const std::string& name, const std::vector<TriMesh>& parts,
                          int maxTriangles = MaxCasterTriangles);

} // namespace Props
} // namespace Content
