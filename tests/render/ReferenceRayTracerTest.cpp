#include "tools/raytrace/RayTracer.h"
#include "tools/raytrace/ShadowFigures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Math::Vec3f;
using RayTrace::Triangle;

// A square at height y facing up, over x0..x1 and -z0..z0.
std::vector<Triangle> Plane(float y, float x0 = -50, float x1 = 50, float z0 = 50)
{
    return {{Vec3f(x0, y, -z0), Vec3f(x0, y, z0), Vec3f(x1, y, z0)},
            {Vec3f(x0, y, -z0), Vec3f(x1, y, z0), Vec3f(x1, y, -z0)}};
}

// size x size pixels looking straight down at the origin from the given height.
RayTrace::Camera Down(int size, float height, float fov)
{
    RayTrace::Camera camera;
    camera.Width = camera.Height = size;
    camera.View = Math::Mat4::LookAt(Vec3f(0, height, 0.001f), Vec3f(0, 0, 0), Vec3f(0, 0, -1));
    camera.Projection = Math::Mat4::Perspective(fov, 1.0f, 0.1f, 100.0f);
    return camera;
}

RayTrace::Light Light(float y, float radius)
{
    RayTrace::Light light;
    light.Position = Vec3f(0, y, 0);
    light.Radius = radius;
    return light;
}

// A floor at y = 0, a light 10 above the origin and an occluder plane at y = 5 covering
// x >= edge; the one pixel, below the occluder, sees the origin.
float CentreVisibility(float edge, float lightRadius, int samples)
{
    RayTrace::Scene scene;
    scene.AddObject(Plane(0));
    scene.AddObject(Plane(5, edge, 60));
    return RayTrace::Visibility(scene, Down(1, 2, 10), Light(10, lightRadius), samples)[0];
}

TEST(ReferenceRayTracer, VisibleShareOfTheSphereAcrossAStraightEdge)
{
    // Edge right above the line to the light's centre: half the sphere is hidden.
    EXPECT_NEAR(CentreVisibility(0.0f, 1.0f, 16), 0.5f, 0.02f);
    // Occluder far to one side or covering everything.
    EXPECT_EQ(CentreVisibility(3.0f, 1.0f, 16), 1.0f);
    EXPECT_EQ(CentreVisibility(-3.0f, 1.0f, 16), 0.0f);
    // Inside the penumbra the share moves with the edge, and further with a bigger light.
    const float small = CentreVisibility(0.2f, 1.0f, 16);
    const float big = CentreVisibility(0.2f, 2.0f, 16);
    EXPECT_GT(small, 0.5f);
    EXPECT_LT(small, 1.0f);
    EXPECT_LT(big, small);
    // One sample per pixel is the hard answer for the centre.
    EXPECT_EQ(CentreVisibility(0.05f, 1.0f, 1), 1.0f);
    EXPECT_EQ(CentreVisibility(-0.05f, 1.0f, 1), 0.0f);
}

TEST(ReferenceRayTracer, EmptyPixelsSurfacesTurnedAwayAndOccludersOfTheirOwn)
{
    // A small floor seen from above whose light is below it.
    RayTrace::Scene small;
    small.AddObject(Plane(0, -1, 1, 1));
    const std::vector<float> image = RayTrace::Visibility(small, Down(8, 5, 60), Light(-3, 0.5f), 4);
    EXPECT_EQ(image[0], RayTrace::NoSurface);              // a corner misses the floor
    EXPECT_EQ(image[4 * 8 + 4], RayTrace::FacesAway);      // the middle sees it from above

    // A roof among the seen surfaces hides nothing when the occluders are given apart.
    RayTrace::Scene seen, none;
    seen.AddObject(Plane(0));
    seen.AddObject(Plane(5));
    EXPECT_EQ(RayTrace::Visibility(seen, Down(1, 2, 10), Light(10, 1), 4, nullptr, &none)[0], 1.0f);
    // An occluder between the camera and the floor hides the light, and the camera sees
    // the floor through it.
    RayTrace::Scene bare, occluders;
    bare.AddObject(Plane(0));
    occluders.AddObject(Plane(1));
    EXPECT_EQ(RayTrace::Visibility(bare, Down(1, 2, 10), Light(10, 1), 4, nullptr, &occluders)[0],
              0.0f);
}

// One object in full shadow, 8 x 1 pixels: the left two turned away from the light, so
// that its own silhouette lies between pixels 1 and 2. A lit pixel right beside that
// silhouette lies in the band and is not judged; one further on is a leak.
TEST(ShadowFigures, JudgeOnlyOffTheBandAroundHardEdgesAndTheCastersOwnSilhouette)
{
    using RayTrace::FacesAway;
    const std::vector<float> reference = {FacesAway, FacesAway, 0, 0, 0, 0, 0, 0.5f};
    const std::vector<float> hard = {FacesAway, FacesAway, 0, 0, 0, 0, 0, 1};
    const std::vector<int> objects(8, 0);
    std::vector<float> drawn = {0, 0, 1, 0, 0, 0, 0, 0.5f};
    RayTrace::ShadowFigures f = RayTrace::MeasureShadow(reference, hard, objects, drawn, 8, 1, 1);
    EXPECT_EQ(f.Receivers, 3);   // pixels 3 to 5; 2 and 6 lie on the band, 7 beyond the edge
    EXPECT_EQ(f.UmbraWorst, 0.0f);

    drawn[3] = 1.0f;
    f = RayTrace::MeasureShadow(reference, hard, objects, drawn, 8, 1, 1);
    EXPECT_EQ(f.Bad, 1);
    EXPECT_EQ(f.UmbraWorst, 1.0f);
    EXPECT_NEAR(f.BadShare, 1.0 / 3.0, 1e-9);
}

} // namespace
