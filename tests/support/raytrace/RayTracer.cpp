#include "tests/support/raytrace/RayTracer.h"

#include <algorithm>
#include <cmath>

namespace RayTrace {

using Math::Vec3f;

namespace {

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

// True when any triangle of the candidate objects blocks the ray before maxDistance.
bool Blocked(const Scene& scene, const std::vector<int>& candidates, const Vec3f& origin,
             const Vec3f& direction, float maxDistance)
{
    for (int objectIndex : candidates) {
        const Object& object = scene.Objects[objectIndex];
        for (int i = object.First; i < object.First + object.Count; ++i) {
            const float t = HitTriangle(scene.Triangles[i], origin, direction);
            if (t > 0.0f && t < maxDistance)
                return true;
        }
    }
    return false;
}

} // namespace

void Scene::AddObject(const std::vector<Triangle>& triangles)
{
    Object object;
    object.First = static_cast<int>(Triangles.size());
    object.Count = static_cast<int>(triangles.size());
    Vec3f lo = triangles.empty() ? Vec3f() : triangles[0].A;
    Vec3f hi = lo;
    for (const Triangle& t : triangles) {
        for (const Vec3f* p : {&t.A, &t.B, &t.C}) {
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], (*p)[k]);
                hi[k] = std::max(hi[k], (*p)[k]);
            }
        }
        Triangles.push_back(t);
    }
    object.Centre = (lo + hi) * 0.5f;
    object.Radius = (hi - lo).Length() * 0.5f;
    Objects.push_back(object);
}

float Intersect(const Scene& scene, const Vec3f& origin, const Vec3f& direction, int* index)
{
    float nearest = -1.0f;
    for (int i = 0; i < static_cast<int>(scene.Triangles.size()); ++i) {
        const float t = HitTriangle(scene.Triangles[i], origin, direction);
        if (t > 0.0f && (nearest < 0.0f || t < nearest)) {
            nearest = t;
            *index = i;
        }
    }
    return nearest;
}

std::vector<float> Visibility(const Scene& scene, const Camera& camera, const Light& light,
                              int samplesPerAxis, std::vector<int>* objectIds)
{
    std::vector<float> image(static_cast<size_t>(camera.Width) * camera.Height, NoSurface);
    if (objectIds != nullptr)
        objectIds->assign(image.size(), -1);
    const Math::Mat4 unproject = (camera.Projection * camera.View).Inverse();
    const Math::Mat4 cameraToWorld = camera.View.Inverse();
    const Vec3f eye = cameraToWorld.TransformPoint(Vec3f(0, 0, 0));
    const float pi = 3.14159265358979f;
    std::vector<int> candidates;

    for (int y = 0; y < camera.Height; ++y) {
        for (int x = 0; x < camera.Width; ++x) {
            const float nx = 2.0f * (x + 0.5f) / camera.Width - 1.0f;
            const float ny = 2.0f * (y + 0.5f) / camera.Height - 1.0f;
            const Vec3f farPoint = unproject.Project(Vec3f(nx, ny, 0.0f));
            const Vec3f ray = Normalized(farPoint - eye);
            int hitIndex = -1;
            const float t = Intersect(scene, eye, ray, &hitIndex);
            if (t < 0.0f)
                continue;
            float& pixel = image[static_cast<size_t>(y) * camera.Width + x];
            if (objectIds != nullptr) {
                for (int i = 0; i < static_cast<int>(scene.Objects.size()); ++i) {
                    const Object& object = scene.Objects[i];
                    if (hitIndex >= object.First && hitIndex < object.First + object.Count)
                        (*objectIds)[static_cast<size_t>(y) * camera.Width + x] = i;
                }
            }

            const Triangle& hit = scene.Triangles[hitIndex];
            Vec3f normal = Normalized(Math::Cross(hit.B - hit.A, hit.C - hit.A));
            if (Math::Dot(normal, ray) > 0.0f)
                normal = -normal;
            const Vec3f surface = eye + ray * t;
            const Vec3f toLight = light.Position - surface;
            const float distance = toLight.Length();
            if (Math::Dot(normal, toLight) <= 0.0f) {
                pixel = FacesAway;
                continue;
            }
            const Vec3f w = toLight / distance;
            // Start the shadow rays off the surface so that it does not hide itself.
            const Vec3f origin = surface + normal * (1e-3f * std::max(1.0f, distance));

            // Objects that can meet the cone toward the sphere.
            const float cone = light.Radius < distance ? std::asin(light.Radius / distance)
                                                       : 0.5f * pi;
            candidates.clear();
            for (int i = 0; i < static_cast<int>(scene.Objects.size()); ++i) {
                const Object& object = scene.Objects[i];
                const Vec3f toObject = object.Centre - origin;
                const float d = toObject.Length();
                if (d <= object.Radius) {
                    candidates.push_back(i);
                    continue;
                }
                const float angle = std::acos(std::clamp(Math::Dot(toObject / d, w), -1.0f, 1.0f));
                if (angle <= cone + std::asin(object.Radius / d) &&
                    d - object.Radius < distance)
                    candidates.push_back(i);
            }
            if (candidates.empty()) {
                pixel = 1.0f;
                continue;
            }

            if (samplesPerAxis <= 1 || light.Radius <= 0.0f) {
                pixel = Blocked(scene, candidates, origin, w, distance) ? 0.0f : 1.0f;
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
                    if (!Blocked(scene, candidates, origin, d, distance))
                        ++seen;
                }
            }
            pixel = static_cast<float>(seen) / (samplesPerAxis * samplesPerAxis);
        }
    }
    return image;
}

} // namespace RayTrace
