#include "render/ShadowReach.h"

#include "app/DeveloperException.h"
#include "config/CVars.h"
#include "math/Mat4.h"
#include "media/IMesh.h"
#include "shadow/IMeshAdjacency.h"
#include "shadow/ShadowVolume.h"
#include "world/FrameProfile.h"
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

// The view frustum of a perspective projection in eye space (looking down -z): at a depth d
// in front of the eye it holds Left * d <= x <= Right * d and Bottom * d <= y <= Top * d,
// from the near plane on.
struct EyeFrustum {
    float Left, Right, Bottom, Top, Near;

    explicit EyeFrustum(const Math::Mat4& projection)
        // x / -z in view space is (x_ndc + m02) / m00 at the screen's sides.
        : Left((-1.0f + projection(0, 2)) / projection(0, 0)),
          Right((1.0f + projection(0, 2)) / projection(0, 0)),
          Bottom((-1.0f + projection(1, 2)) / projection(1, 1)),
          Top((1.0f + projection(1, 2)) / projection(1, 1)),
          Near(projection(2, 3) / (projection(2, 2) - 1.0f))
    {
    }

    // Corner i of the frustum's cross-section at the depth: left or right by bit 0, bottom
    // or top by bit 1.
    Vec3f Corner(int i, float depth) const
    {
        return Vec3f((i & 1 ? Right : Left) * depth, (i & 2 ? Top : Bottom) * depth, -depth);
    }

    // Signed distances to the five planes, positive inside.
    float Side(int plane, const Vec3f& p) const
    {
        const float d = -p.z;
        switch (plane) {
        case 0: return d - Near;
        case 1: return p.x - Left * d;
        case 2: return Right * d - p.x;
        case 3: return p.y - Bottom * d;
        default: return Top * d - p.y;
        }
    }
};

// Clips the convex polygon of `count` corners to the frustum, in place (room for 16
// corners: a quad clipped by five planes keeps at most nine); returns the corners left.
int ClipToFrustum(Vec3f* polygon, int count, const EyeFrustum& frustum)
{
    Vec3f clipped[16];
    for (int plane = 0; plane < 5 && count > 0; ++plane) {
        int kept = 0;
        for (int i = 0; i < count; ++i) {
            const Vec3f& a = polygon[i];
            const Vec3f& b = polygon[(i + 1) % count];
            const float sa = frustum.Side(plane, a), sb = frustum.Side(plane, b);
            if (sa >= 0.0f)
                clipped[kept++] = a;
            if ((sa >= 0.0f) != (sb >= 0.0f))
                clipped[kept++] = a + (b - a) * (sa / (sa - sb));
        }
        count = kept;
        std::copy(clipped, clipped + count, polygon);
    }
    return count;
}

// The least depth seen so far in front of the eye, of whatever lies inside the frustum.
struct NearestDepth {
    bool Found = false;
    float Depth = 0.0f;

    void Add(float depth)
    {
        Depth = Found ? std::min(Depth, depth) : depth;
        Found = true;
    }
    // The part of the convex polygon inside the frustum.
    void AddPolygon(Vec3f* polygon, int count, const EyeFrustum& frustum)
    {
        count = ClipToFrustum(polygon, count, frustum);
        for (int i = 0; i < count; ++i)
            Add(std::max(-polygon[i].z, frustum.Near));
    }
};

// The part of a box inside the frustum, the box given by its corners in eye space (Corner
// order). The least depth is reached at a corner of that part: on one of the box's faces
// clipped to the frustum, or at a corner of the near rectangle inside the box.
void AddBoxPart(const Vec3f (&corner)[8], const EyeFrustum& frustum, NearestDepth& nearest)
{
    static constexpr int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                        {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
    for (const auto& face : faces) {
        Vec3f polygon[16];
        for (int i = 0; i < 4; ++i)
            polygon[i] = corner[face[i]];
        nearest.AddPolygon(polygon, 4, frustum);
    }
    // The near rectangle's corners within the box: p - corner0 = a e1 + b e2 + c e3 with
    // a, b, c in [0, 1]. A flat box holds none; its faces say all.
    const Vec3f e1 = corner[1] - corner[0], e2 = corner[2] - corner[0], e3 = corner[4] - corner[0];
    const float volume = Math::Dot(e1, Math::Cross(e2, e3));
    if (volume == 0.0f)
        return;
    const float n = frustum.Near;
    for (int i = 0; i < 4; ++i) {
        const Vec3f p = frustum.Corner(i, n) - corner[0];
        const float a = Math::Dot(p, Math::Cross(e2, e3)) / volume;
        const float b = Math::Dot(e1, Math::Cross(p, e3)) / volume;
        const float c = Math::Dot(e1, Math::Cross(e2, p)) / volume;
        if (a >= 0.0f && a <= 1.0f && b >= 0.0f && b <= 1.0f && c >= 0.0f && c <= 1.0f)
            nearest.Add(n);
    }
}

// The triangles of the mesh (positions as last drawn) inside the frustum, `toEye` taking
// them to eye space; `eye` and `outside` hold each vertex in eye space and the frustum
// planes it lies outside of.
void AddTriangles(const IMesh& mesh, const Math::Mat4& toEye, const EyeFrustum& frustum,
                  std::vector<Vec3f>& eye, std::vector<uint8_t>& outside, NearestDepth& nearest)
{
    const std::vector<Vec3f>& positions = mesh.GetDrawnPositions();
    eye.resize(positions.size());
    outside.resize(positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        eye[i] = toEye.TransformPoint(positions[i]);
        uint8_t planes = 0;
        for (int plane = 0; plane < 5; ++plane)
            if (frustum.Side(plane, eye[i]) < 0.0f)
                planes |= static_cast<uint8_t>(1u << plane);
        outside[i] = planes;
    }
    for (const IMesh::Triangle& t : mesh.GetTriangles()) {
        const unsigned a = outside[t[0]], b = outside[t[1]], c = outside[t[2]];
        if ((a & b & c) != 0)
            continue;   // wholly past one plane
        if ((a | b | c) == 0) {
            for (int k = 0; k < 3; ++k)
                nearest.Add(-eye[t[k]].z);
            continue;
        }
        Vec3f polygon[16] = {eye[t[0]], eye[t[1]], eye[t[2]]};
        nearest.AddPolygon(polygon, 3, frustum);
    }
}

// Whether all the points lie outside one of the planes (each given as a, b, c, d of
// a x + b y + c z + d >= 0 inside).
bool OutsideOnePlane(const Vec3f* points, int count, const float (&planes)[6][4])
{
    for (const auto& plane : planes) {
        int outside = 0;
        for (int i = 0; i < count; ++i)
            if (plane[0] * points[i].x + plane[1] * points[i].y + plane[2] * points[i].z +
                    plane[3] < 0.0f)
                ++outside;
        if (outside == count)
            return true;
    }
    return false;
}

// Whether the point lies in the mesh's shadow from the light: the segment between them
// passes through one of its triangles (positions as last drawn).
bool InShadow(const IMesh& mesh, const Vec3f& light, const Vec3f& point)
{
    // The segment against the box first.
    const Vec3f along = point - light;
    float enter = 0.0f, leave = 1.0f;
    for (int k = 0; k < 3; ++k) {
        if (along[k] == 0.0f) {
            if (light[k] < mesh.BoundsMin[k] || light[k] > mesh.BoundsMax[k])
                return false;
            continue;
        }
        float t0 = (mesh.BoundsMin[k] - light[k]) / along[k];
        float t1 = (mesh.BoundsMax[k] - light[k]) / along[k];
        if (t0 > t1)
            std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
        if (enter > leave)
            return false;
    }
    const std::vector<Vec3f>& positions = mesh.GetDrawnPositions();
    for (const IMesh::Triangle& t : mesh.GetTriangles()) {
        const Vec3f& a = positions[t[0]];
        const Vec3f e1 = positions[t[1]] - a, e2 = positions[t[2]] - a;
        const Vec3f p = Math::Cross(along, e2);
        const float det = Math::Dot(e1, p);
        if (det == 0.0f)
            continue;
        const Vec3f s = light - a;
        const float u = Math::Dot(s, p) / det;
        if (u < 0.0f || u > 1.0f)
            continue;
        const Vec3f q = Math::Cross(s, e1);
        const float v = Math::Dot(along, q) / det;
        if (v < 0.0f || u + v > 1.0f)
            continue;
        const float hit = Math::Dot(e2, q) / det;
        if (hit > 0.0f && hit < 1.0f)
            return true;
    }
    return false;
}

// Whether the two rays (from a, along da; from b, along db) and all that lies between them
// lie outside one of the planes: the side of a volume that reaches infinity.
bool RaysOutsideOnePlane(const Vec3f& a, const Vec3f& b, const Vec3f& da, const Vec3f& db,
                         const float (&planes)[6][4])
{
    for (const auto& plane : planes) {
        const Vec3f normal(plane[0], plane[1], plane[2]);
        if (Math::Dot(normal, a) + plane[3] < 0.0f && Math::Dot(normal, b) + plane[3] < 0.0f &&
            Math::Dot(normal, da) <= 0.0f && Math::Dot(normal, db) <= 0.0f)
            return true;
    }
    return false;
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
        row.Clear.reserve(casters);
        row.Wedges.reserve(casters);
    }
    Frustum.reserve(5);
    SeenBoxes.reserve(64);
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
    FrameProfile::Scope timing(g_FrameProfile.Lights);
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
                const EyeFrustum frustum(projection);
                Frustum.push_back(toWorld.TransformPoint(Vec3f(0.0f, 0.0f, 0.0f)));
                for (int i = 0; i < 4; ++i)
                    Frustum.push_back(toWorld.TransformPoint(frustum.Corner(i, depth)));
            }
        }
    }

    // The nearest surface the frame can show: every mesh's box gives a bound, and the
    // triangles of the meshes whose boxes come nearest, in that order, give the depth until
    // the next box lies past it.
    Nearest = 0.0f;
    NearPlane = 0.0f;
    if (viewer != nullptr && IsPerspective(viewer->GetProjectionMatrix())) {
        const EyeFrustum frustum(viewer->GetProjectionMatrix());
        NearPlane = frustum.Near;
        View = viewer->GetViewMatrix();
        Projection = viewer->GetProjectionMatrix();
        SeenBoxes.clear();
        const auto addModel = [&](const IModel& model) {
            const Math::Mat4 toEye = viewer->GetViewMatrix() * model.GetModelMatrix();
            for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
                Vec3f corners[8];
                for (int i = 0; i < 8; ++i)
                    corners[i] = toEye.TransformPoint(Corner(mesh->BoundsMin, mesh->BoundsMax, i));
                NearestDepth box;
                AddBoxPart(corners, frustum, box);
                if (box.Found)
                    SeenBoxes.push_back({box.Depth, mesh.Get(), &model});
            }
        };
        if (world != nullptr)
            addModel(*world);
        for (const Sys::Ptr<IModel>& model : models)
            addModel(*model);
        std::sort(SeenBoxes.begin(), SeenBoxes.end(),
                  [](const SeenBox& a, const SeenBox& b) { return a.Depth < b.Depth; });
        NearestDepth nearest;
        for (const SeenBox& box : SeenBoxes) {
            if (nearest.Found && box.Depth >= nearest.Depth)
                break;
            const Math::Mat4 toEye = viewer->GetViewMatrix() * box.Model->GetModelMatrix();
            AddTriangles(*box.Mesh, toEye, frustum, EyePositions, OutsidePlanes, nearest);
        }
        Nearest = nearest.Found ? nearest.Depth : 0.0f;
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
        row.Clear.clear();
        row.Wedges.clear();
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
        for (const Sys::Ptr<IModel>& caster : light.ZFailCasters) {
            if (!Casts(light, *caster))
                continue;
            const bool inFront = r_Shadow_CountInFront.value && ClearOfNearPlane(light, *caster);
            (inFront ? row.Clear : row.ZFail).push_back(caster);
            row.Wedges.push_back(caster);
        }
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

bool ShadowReach::ViewToClip(Math::Mat4& toClip, float& nearPlane) const
{
    if (Frustum.empty() || NearPlane <= 0.0f)
        return false;
    toClip = Projection * View;
    nearPlane = NearPlane;
    return true;
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

bool ShadowReach::ClearOfNearPlane(const IPointLightSource& light, const IModel& caster)
{
    if (Frustum.empty() || NearPlane <= 0.0f)
        return false;
    // The frustum's cross-section at the near plane, thickened and a little widened: what
    // the volume has to keep clear of. Its planes in eye space, inside where positive.
    const EyeFrustum frustum(Projection);
    const float nearest = 0.99f * NearPlane, farthest = 1.01f * NearPlane, wide = 1.01f;
    const float slice[6][4] = {{0, 0, 1, farthest},               // depth <= farthest
                               {0, 0, -1, -nearest},              // depth >= nearest
                               {1, 0, frustum.Left * wide, 0},     // x >= Left * depth
                               {-1, 0, -frustum.Right * wide, 0},
                               {0, 1, frustum.Bottom * wide, 0},
                               {0, -1, -frustum.Top * wide, 0}};
    const ShadowLimits limits = LimitsFor(light, caster);
    const Math::Mat4 toEye = View * caster.GetModelMatrix();
    const Math::Mat4 toModel = toEye.InverseRigid();
    const Vec3f middle = toModel.TransformPoint(
        Vec3f(0.5f * (frustum.Left + frustum.Right) * NearPlane,
              0.5f * (frustum.Bottom + frustum.Top) * NearPlane, -NearPlane));
    Vec3f sliceCorners[8];
    for (int i = 0; i < 4; ++i) {
        sliceCorners[i] = toModel.TransformPoint(frustum.Corner(i, nearest) * wide);
        sliceCorners[4 + i] = toModel.TransformPoint(frustum.Corner(i, farthest) * wide);
    }
    for (const Sys::Ptr<IMesh>& mesh : caster.Meshes) {
        // Where the volume ends on planes: the lines of sight run from the rectangle to lit
        // surfaces, which lie before each plane; with the rectangle before them too, none
        // reaches past them. Else it reaches infinity, which no line of sight reaches. The
        // ends are those the sides will be drawn with: part by part where the mesh has parts.
        const VolumeEnd whole = MeshVolumeEnd(*mesh, &limits, true);
        const bool byParts = EndsByParts(*mesh, &limits, true);
        const int pieces = byParts ? mesh->GetAdjacency()->GetPartCount() : 1;
        PartEnds.resize(std::max<size_t>(PartEnds.size(), pieces));
        // An ended volume lies within the hull of the box and the box seen from the light on
        // the end plane, where every corner's ray meets the plane well ahead of the light:
        // each part's within its own.
        bool hullsClear = true;
        for (int piece = 0; piece < pieces; ++piece) {
            const VolumeEnd end = byParts ? PartVolumeEnd(*mesh, piece, limits, whole) : whole;
            PartEnds[piece] = end;
            if (end.Distance <= 0.0f) {
                hullsClear = false;
                continue;
            }
            for (const Vec3f& corner : sliceCorners)
                if (Math::Dot(corner - limits.Light, end.Axis) >= end.Distance)
                    return false;
            if (!hullsClear)
                continue;
            const IMeshAdjacency* adjacency = mesh->GetAdjacency().Get();
            const Vec3f& lo = byParts ? adjacency->GetPartMin(piece) : mesh->BoundsMin;
            const Vec3f& hi = byParts ? adjacency->GetPartMax(piece) : mesh->BoundsMax;
            Vec3f hull[16];
            for (int i = 0; i < 8; ++i) {
                const Vec3f corner = Corner(lo, hi, i);
                hull[i] = toEye.TransformPoint(corner);
                hull[8 + i] = toEye.TransformPoint(
                    ShadowVolume::FarPoint(limits.Light, end.Axis, end.Distance, corner));
            }
            hullsClear = OutsideOnePlane(hull, 16, slice);
        }
        if (hullsClear)
            continue;
        const auto endOf = [&](int part) -> const VolumeEnd& {
            return PartEnds[byParts ? part : 0];
        };
        Vec3f hull[8];
        for (int i = 0; i < 8; ++i)
            hull[i] = toEye.TransformPoint(Corner(mesh->BoundsMin, mesh->BoundsMax, i));
        // Else the mesh itself, which the near caps lie on, and each side of the volume, from
        // the mesh's silhouette for the light out to the plane or to infinity, have to.
        if ((!OutsideOnePlane(hull, 8, slice) && !TrianglesOutside(*mesh, toEye, slice)) ||
            !mesh->GetAdjacency())
            return false;
        IMeshAdjacency& adjacency = *mesh->GetAdjacency();
        adjacency.UpdateFacing(limits.Light);
        adjacency.BuildLists(0);
        const IMeshAdjacency::Edge* edges = adjacency.GetEdges();
        for (int e = 0; e < adjacency.GetSilhouetteEdgeCount(); ++e) {
            const Vec3f& a = edges[e].A;
            const Vec3f& b = edges[e].B;
            const VolumeEnd& end = endOf(edges[e].Part);
            bool clear;
            if (end.Distance > 0.0f) {
                const auto farPoint = [&](const Vec3f& p) {
                    return ShadowVolume::FarPoint(limits.Light, end.Axis, end.Distance, p);
                };
                const Vec3f quad[4] = {toEye.TransformPoint(a), toEye.TransformPoint(b),
                                       toEye.TransformPoint(farPoint(b)),
                                       toEye.TransformPoint(farPoint(a))};
                clear = OutsideOnePlane(quad, 4, slice);
            } else {
                clear = RaysOutsideOnePlane(toEye.TransformPoint(a), toEye.TransformPoint(b),
                                            toEye.TransformVector(a - limits.Light),
                                            toEye.TransformVector(b - limits.Light), slice);
            }
            if (!clear)
                return false;
        }
        // No side crosses the slice, nor does the mesh: the slice lies wholly inside the
        // volume or wholly outside it, as its middle does.
        if (InShadow(*mesh, limits.Light, middle))
            return false;
    }
    return true;
}

bool ShadowReach::TrianglesOutside(const IMesh& mesh, const Math::Mat4& toEye,
                                   const float (&planes)[6][4])
{
    const std::vector<Vec3f>& positions = mesh.GetDrawnPositions();
    SliceOutside.resize(positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        const Vec3f p = toEye.TransformPoint(positions[i]);
        uint8_t outside = 0;
        for (int k = 0; k < 6; ++k)
            if (planes[k][0] * p.x + planes[k][1] * p.y + planes[k][2] * p.z + planes[k][3] < 0.0f)
                outside |= static_cast<uint8_t>(1u << k);
        SliceOutside[i] = outside;
    }
    for (const IMesh::Triangle& t : mesh.GetTriangles())
        if ((SliceOutside[t[0]] & SliceOutside[t[1]] & SliceOutside[t[2]]) == 0)
            return false;
    return true;
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

const std::vector<Sys::Ptr<IModel>>& ShadowReach::ClearCasters(const IPointLightSource& light) const
{
    return Row(light).Clear;
}

const std::vector<Sys::Ptr<IModel>>& ShadowReach::WedgeCasters(const IPointLightSource& light) const
{
    return Row(light).Wedges;
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
    if (depth <= EyeFrustum(projection).Near)
        return 0.0f;
    const float ndc = (-projection(2, 2) * depth + projection(2, 3)) / depth;
    return std::min(1.0f, std::max(0.0f, 0.5f * ndc + 0.5f));
}

GL::RasterState ShadowReach::NearerCut(const GL::RasterState& block) const
{
    // A margin keeps the cut clear of the nearest surface's depth; where it would lie at
    // the near plane or before it, nothing is left out.
    const float cut = 0.98f * Nearest;
    if (cut <= NearPlane)
        return block;
    return block.CutNearerThan(cut);
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
