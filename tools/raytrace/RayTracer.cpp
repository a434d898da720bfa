#include "tools/raytrace/RayTracer.h"

#include <algorithm>
#include <cmath>

namespace RayTrace {

using Math::Vec3f;

namespace {

constexpr int LeafSize = 4;
constexpr int StackSize = 64;

// Möller-Trumbore; both faces count, as an occluder hides light whichever way it faces.
float HitTriangle(const Triangle& t, const Vec3f& origin, const Vec3f& direction)
{
    const Vec3f e1 = t.B - t.A;
    const Vec3f e2 = t.C - t.A;
    const Vec3f p = Math::Cross(direction, e2);
    const float det = Math::Dot(e1, p);
    if (std::fabs(det) < 1e-12f)
        return -1.0f;
    const float inv = 1.0f / det;
    const Vec3f s = origin - t.A;
    const float u = Math::Dot(s, p) * inv;
    if (u < 0.0f || u > 1.0f)
        return -1.0f;
    const Vec3f q = Math::Cross(s, e1);
    const float v = Math::Dot(direction, q) * inv;
    if (v < 0.0f || u + v > 1.0f)
        return -1.0f;
    return Math::Dot(e2, q) * inv;
}

Vec3f Normalized(const Vec3f& v)
{
    const float length = v.Length();
    return length > 0.0f ? v / length : v;
}

Vec3f Centroid(const Triangle& t) { return (t.A + t.B + t.C) * (1.0f / 3.0f); }

// Whether the ray meets the box before maxDistance (slab test).
bool HitBox(const Node& node, const Vec3f& origin, const Vec3f& inverse, float maxDistance)
{
    float near = 0.0f, far = maxDistance;
    for (int k = 0; k < 3; ++k) {
        float t0 = (node.Low[k] - origin[k]) * inverse[k];
        float t1 = (node.High[k] - origin[k]) * inverse[k];
        if (t0 > t1)
            std::swap(t0, t1);
        near = std::max(near, t0);
        far = std::min(far, t1);
        if (near > far)
            return false;
    }
    return true;
}

Vec3f Inverse(const Vec3f& d)
{
    Vec3f inverse;
    for (int k = 0; k < 3; ++k)
        inverse[k] = d[k] != 0.0f ? 1.0f / d[k] : 1e30f;
    return inverse;
}

// True when any triangle but `own` blocks the ray between minDistance and maxDistance.
bool Blocked(const Scene& scene, const Vec3f& origin, const Vec3f& direction, float minDistance,
             float maxDistance, int own)
{
    const Vec3f inverse = Inverse(direction);
    int stack[StackSize];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const Node& node = scene.Nodes[stack[--top]];
        if (!HitBox(node, origin, inverse, maxDistance))
            continue;
        if (node.Count > 0) {
            for (int i = node.First; i < node.First + node.Count; ++i) {
                if (i == own)
                    continue;
                const float t = HitTriangle(scene.Triangles[i], origin, direction);
                if (t > minDistance && t < maxDistance)
                    return true;
            }
        } else {
            stack[top++] = node.First;
            stack[top++] = node.First + 1;
        }
    }
    return false;
}

// Whether a sphere can meet the cone from origin around axis (half-angle cone, length
// distance); conservative.
bool ConeMeetsSphere(const Vec3f& centre, float radius, const Vec3f& origin, const Vec3f& axis,
                     float cone, float distance)
{
    const Vec3f toCentre = centre - origin;
    const float d = toCentre.Length();
    if (d <= radius)
        return true;
    if (d - radius >= distance)
        return false;
    const float angle = std::acos(std::clamp(Math::Dot(toCentre / d, axis), -1.0f, 1.0f));
    return angle <= cone + std::asin(std::min(1.0f, radius / d));
}

// Whether a triangle can block a ray of the cone. When the whole cone lies above the
// surface's plane (normal given), triangles on or below that plane cannot.
bool ConeMeetsTriangle(const Triangle& t, const Vec3f& origin, const Vec3f& axis, float cone,
                       float distance, const Vec3f* normal)
{
    if (normal != nullptr && Math::Dot(t.A - origin, *normal) <= 0.0f &&
        Math::Dot(t.B - origin, *normal) <= 0.0f && Math::Dot(t.C - origin, *normal) <= 0.0f)
        return false;
    const Vec3f centre = (t.A + t.B + t.C) * (1.0f / 3.0f);
    const float radius = std::max({(t.A - centre).Length(), (t.B - centre).Length(),
                                   (t.C - centre).Length()});
    return ConeMeetsSphere(centre, radius, origin, axis, cone, distance);
}

// Whether any triangle can meet the cone from origin around axis (half-angle cone, length
// distance): a conservative test on the nodes' bounding spheres, then on the triangles.
bool ConeMeetsScene(const Scene& scene, const Vec3f& origin, const Vec3f& axis, float cone,
                    float distance, const Vec3f* normal)
{
    int stack[StackSize];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const Node& node = scene.Nodes[stack[--top]];
        if (!ConeMeetsSphere(node.Centre, node.Radius, origin, axis, cone, distance))
            continue;
        if (node.Count > 0) {
            for (int i = node.First; i < node.First + node.Count; ++i)
                if (ConeMeetsTriangle(scene.Triangles[i], origin, axis, cone, distance, normal))
                    return true;
            continue;
        }
        stack[top++] = node.First;
        stack[top++] = node.First + 1;
    }
    return false;
}

} // namespace

void Scene::AddObject(const std::vector<Triangle>& triangles)
{
    Triangles.insert(Triangles.end(), triangles.begin(), triangles.end());
    ObjectOf.insert(ObjectOf.end(), triangles.size(), ObjectCount++);
    Built = false;
}

void Scene::Build()
{
    Nodes.clear();
    Nodes.reserve(2 * Triangles.size() + 1);
    Nodes.push_back(Node());
    Nodes[0].First = 0;
    Nodes[0].Count = static_cast<int>(Triangles.size());
    // Split nodes in the order they were made; children always follow their parent.
    for (size_t n = 0; n < Nodes.size(); ++n) {
        const int first = Nodes[n].First, count = Nodes[n].Count;
        Vec3f low(1e30f, 1e30f, 1e30f), high(-1e30f, -1e30f, -1e30f);
        Vec3f cLow = low, cHigh = high;
        for (int i = first; i < first + count; ++i) {
            const Triangle& t = Triangles[i];
            for (const Vec3f* p : {&t.A, &t.B, &t.C})
                for (int k = 0; k < 3; ++k) {
                    low[k] = std::min(low[k], (*p)[k]);
                    high[k] = std::max(high[k], (*p)[k]);
                }
            const Vec3f c = Centroid(t);
            for (int k = 0; k < 3; ++k) {
                cLow[k] = std::min(cLow[k], c[k]);
                cHigh[k] = std::max(cHigh[k], c[k]);
            }
        }
        if (count == 0)
            low = high = Vec3f();
        Nodes[n].Low = low;
        Nodes[n].High = high;
        Nodes[n].Centre = (low + high) * 0.5f;
        Nodes[n].Radius = (high - low).Length() * 0.5f;
        if (count <= LeafSize)
            continue;
        const Vec3f extent = cHigh - cLow;
        const int axis = extent.x > extent.y ? (extent.x > extent.z ? 0 : 2)
                                             : (extent.y > extent.z ? 1 : 2);
        const int half = count / 2;
        // Triangles and their object numbers move together.
        std::vector<int> order(count);
        for (int i = 0; i < count; ++i)
            order[i] = first + i;
        std::nth_element(order.begin(), order.begin() + half, order.end(), [&](int a, int b) {
            return Centroid(Triangles[a])[axis] < Centroid(Triangles[b])[axis];
        });
        std::vector<Triangle> triangles(count);
        std::vector<int> objects(count);
        for (int i = 0; i < count; ++i) {
            triangles[i] = Triangles[order[i]];
            objects[i] = ObjectOf[order[i]];
        }
        std::copy(triangles.begin(), triangles.end(), Triangles.begin() + first);
        std::copy(objects.begin(), objects.end(), ObjectOf.begin() + first);
        Node left, right;
        left.First = first;
        left.Count = half;
        right.First = first + half;
        right.Count = count - half;
        Nodes[n].First = static_cast<int>(Nodes.size());
        Nodes[n].Count = 0;
        Nodes.push_back(left);
        Nodes.push_back(right);
    }
    Built = true;
}

float Intersect(Scene& scene, const Vec3f& origin, const Vec3f& direction, int* index)
{
    if (!scene.Built)
        scene.Build();
    if (scene.Triangles.empty())
        return -1.0f;
    const Vec3f inverse = Inverse(direction);
    float nearest = -1.0f;
    int stack[StackSize];
    int top = 0;
    stack[top++] = 0;
    while (top > 0) {
        const Node& node = scene.Nodes[stack[--top]];
        if (!HitBox(node, origin, inverse, nearest < 0.0f ? 1e30f : nearest))
            continue;
        if (node.Count > 0) {
            for (int i = node.First; i < node.First + node.Count; ++i) {
                const float t = HitTriangle(scene.Triangles[i], origin, direction);
                if (t > 0.0f && (nearest < 0.0f || t < nearest)) {
                    nearest = t;
                    *index = i;
                }
            }
        } else {
            stack[top++] = node.First;
            stack[top++] = node.First + 1;
        }
    }
    return nearest;
}

std::vector<float> Visibility(Scene& scene, const Camera& camera, const Light& light,
                              int samplesPerAxis, std::vector<int>* objectIds,
                              Scene* occluders)
{
    if (!scene.Built)
        scene.Build();
    Scene& blockers = occluders != nullptr ? *occluders : scene;
    if (!blockers.Built)
        blockers.Build();
    std::vector<float> image(static_cast<size_t>(camera.Width) * camera.Height, NoSurface);
    if (objectIds != nullptr)
        objectIds->assign(image.size(), -1);
    const Math::Mat4 unproject = (camera.Projection * camera.View).Inverse();
    const Math::Mat4 cameraToWorld = camera.View.Inverse();
    const Vec3f eye = cameraToWorld.TransformPoint(Vec3f(0, 0, 0));
    const float pi = 3.14159265358979f;

    for (int y = 0; y < camera.Height; ++y) {
        for (int x = 0; x < camera.Width; ++x) {
            const float nx = 2.0f * (x + 0.5f) / camera.Width - 1.0f;
            const float ny = 2.0f * (y + 0.5f) / camera.Height - 1.0f;
            const Vec3f farPoint = unproject.Project(Vec3f(nx, ny, 0.0f));
            const Vec3f ray = Normalized(farPoint - eye);
            // What lies before the near plane is clipped away from the picture, so it is
            // not seen here either (it still hides the light).
            const Vec3f nearPoint = unproject.Project(Vec3f(nx, ny, -1.0f));
            int hitIndex = -1;
            const float t = Intersect(scene, nearPoint, ray, &hitIndex);
            if (t < 0.0f)
                continue;
            const size_t pixelIndex = static_cast<size_t>(y) * camera.Width + x;
            float& pixel = image[pixelIndex];
            if (objectIds != nullptr)
                (*objectIds)[pixelIndex] = scene.ObjectOf[hitIndex];

            const Triangle& hit = scene.Triangles[hitIndex];
            Vec3f normal = Normalized(Math::Cross(hit.B - hit.A, hit.C - hit.A));
            if (Math::Dot(normal, ray) > 0.0f)
                normal = -normal;
            const Vec3f surface = nearPoint + ray * t;
            const Vec3f toLight = light.Position - surface;
            const float distance = toLight.Length();
            if (light.Reach > 0.0f && distance >= light.Reach) {
                pixel = OutOfReach;
                continue;
            }
            if (Math::Dot(normal, toLight) <= 0.0f) {
                pixel = FacesAway;
                continue;
            }
            const Vec3f w = toLight / distance;
            // Shadow rays start on the surface and pass over its own triangle. Every surface
            // is the skin of a solid (the floor of the ground below it): a ray that leaves
            // below the triangle's plane goes into the solid and is blocked.
            const Vec3f origin = surface;
            const float minDistance = 1e-4f * std::max(1.0f, distance);
            // Occluders of their own do not hold the seen triangle under its number; there the
            // least distance keeps the surface from hiding itself.
            const int own = &blockers == &scene ? hitIndex : -1;

            const float cone = light.Radius < distance ? std::asin(light.Radius / distance)
                                                       : 0.5f * pi;
            // The surface's own plane hides nothing when the sphere lies wholly above it.
            const bool above = Math::Dot(normal, w) > std::sin(cone) + 1e-4f;
            if (!ConeMeetsScene(blockers, origin, w, cone, distance, above ? &normal : nullptr)) {
                pixel = 1.0f;
                continue;
            }
            if (samplesPerAxis <= 1 || light.Radius <= 0.0f) {
                pixel = Blocked(blockers, origin, w, minDistance, distance, own) ? 0.0f : 1.0f;
                continue;
            }
            // Uniform over the solid angle of the sphere: cos(theta) uniform in
            // [cos(cone), 1], phi uniform, each stratum sampled at its centre.
            const Vec3f helper = std::fabs(w.x) < 0.9f ? Vec3f(1, 0, 0) : Vec3f(0, 1, 0);
            const Vec3f u = Normalized(Math::Cross(helper, w));
            const Vec3f v = Math::Cross(w, u);
            const float cosCone = std::cos(cone);
            int seen = 0;
            for (int i = 0; i < samplesPerAxis; ++i) {
                const float cosTheta = 1.0f - (i + 0.5f) / samplesPerAxis * (1.0f - cosCone);
                const float sinTheta = std::sqrt(std::max(0.0f, 1.0f - cosTheta * cosTheta));
                for (int j = 0; j < samplesPerAxis; ++j) {
                    const float phi = 2.0f * pi * (j + 0.5f) / samplesPerAxis;
                    const Vec3f d = w * cosTheta + u * (sinTheta * std::cos(phi)) +
                                    v * (sinTheta * std::sin(phi));
                    if (Math::Dot(d, normal) > 0.0f &&
                        !Blocked(blockers, origin, d, minDistance, distance, own))
                        ++seen;
                }
            }
            pixel = static_cast<float>(seen) / (samplesPerAxis * samplesPerAxis);
        }
    }
    return image;
}

} // namespace RayTrace
