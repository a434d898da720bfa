#pragma once

#include "math/Mat4.h"
#include "math/Vec3.h"

#include <vector>

// Reference for the shadow checks: for every pixel of a camera, the share of a spherical
// light that is visible from the surface point seen in that pixel, found by tracing many
// stratified rays toward the sphere. The triangles are held in a bounding-volume hierarchy,
// so that scenes of many thousand triangles trace in seconds.
namespace RayTrace {

struct Triangle {
    Math::Vec3f A, B, C;
};

// A node of the hierarchy: an axis-aligned box with its bounding sphere; a leaf holds the
// triangles [First, First + Count), an inner node its two children at First and First + 1.
struct Node {
    Math::Vec3f Low, High;
    Math::Vec3f Centre;
    float Radius = 0.0f;
    int First = 0;
    int Count = 0;
};

class Scene {
public:
    // Adds triangles given in world space as one object (objects are numbered from 0).
    void AddObject(const std::vector<Triangle>& triangles);

    // Builds the hierarchy; Visibility and Intersect call it when objects were added since.
    void Build();

    std::vector<Triangle> Triangles;
    std::vector<int> ObjectOf;   // per triangle, the object it belongs to
    std::vector<Node> Nodes;
    int ObjectCount = 0;
    bool Built = false;
};

struct Camera {
    Math::Mat4 View;
    Math::Mat4 Projection;
    int Width = 0;
    int Height = 0;
};

struct Light {
    Math::Vec3f Position;
    float Radius = 0.0f;
    // Surfaces this far from the light or further get no light at all, so no shadow either
    // (OutOfReach); 0: the light reaches everywhere.
    float Reach = 0.0f;
};

// Pixel values of the visibility image.
constexpr float NoSurface = -1.0f;     // the pixel sees no triangle
constexpr float FacesAway = -2.0f;     // the surface is turned away from the light
constexpr float OutOfReach = -3.0f;    // the surface lies beyond the light's reach

// Visibility of the light for every pixel, rows from the bottom (the order of
// glReadPixels). samplesPerAxis^2 rays per pixel, stratified over the solid angle of
// the sphere; samplesPerAxis = 1 gives the hard answer for the light's centre.
// objectIds, when given, receives per pixel the index of the object seen (-1 for none).
// occluders, when given, holds what hides the light in place of the scene itself, for
// renderers whose visible surfaces and shadow casters differ.
std::vector<float> Visibility(Scene& scene, const Camera& camera, const Light& light,
                              int samplesPerAxis, std::vector<int>* objectIds = nullptr,
                              Scene* occluders = nullptr);

// The nearest hit along a ray, or -1 when there is none; index receives the triangle.
float Intersect(Scene& scene, const Math::Vec3f& origin, const Math::Vec3f& direction,
                int* index);

} // namespace RayTrace
