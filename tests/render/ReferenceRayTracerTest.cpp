#include "tools/raytrace/RayTracer.h"
#include "tools/raytrace/ShadowFigures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Math::Vec3f;
using RayTrace::Triangle;

std::vector<Triangle> Quad(Vec3f a, Vec3f b, Vec3f c, Vec3f d)
{
    return {{a, b, c}, {a, c, d}};
}

// A floor at y = 0 seen from straight above, a light 10 above the origin and an occluder
// plane at y = 5 covering x >= edge. One pixel: the camera looks at the origin.
float CentreVisibility(float edge, float lightRadius, int samples)
{
    RayTrace::Scene scene;
    scene.AddObject(Quad(Vec3f(-50, 0, -50), Vec3f(-50, 0, 50), Vec3f(50, 0, 50),
                         Vec3f(50, 0, -50)));
    scene.AddObject(Quad(Vec3f(edge, 5, -50), Vec3f(edge, 5, 50), Vec3f(60, 5, 50),
                         Vec3f(60, 5, -50)));
    RayTrace::Camera camera;
    camera.Width = 1;
    camera.Height = 1;
    camera.View = Math::Mat4::LookAt(Vec3f(0, 2, 0.001f), Vec3f(0, 0, 0), Vec3f(0, 0, -1));
    camera.Projection = Math::Mat4::Perspective(10.0f, 1.0f, 0.1f, 100.0f);
    RayTrace::Light light;
    light.Position = Vec3f(0, 10, 0);
    light.Radius = lightRadius;
    // The camera sits below the occluder: the primary ray must reach the floor.
    return RayTrace::Visibility(scene, camera, light, samples)[0];
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

TEST(ReferenceRayTracer, MarksEmptyPixelsAndSurfacesTurnedFromTheLight)
{
    RayTrace::Scene scene;
    // A floor seen from above whose light is below it.
    scene.AddObject(Quad(Vec3f(-1, 0, -1), Vec3f(-1, 0, 1), Vec3f(1, 0, 1), Vec3f(1, 0, -1)));
    RayTrace::Camera camera;
    camera.Width = 8;
    camera.Height = 8;
    camera.View = Math::Mat4::LookAt(Vec3f(0, 5, 0.001f), Vec3f(0, 0, 0), Vec3f(0, 0, -1));
    camera.Projection = Math::Mat4::Perspective(60.0f, 1.0f, 0.1f, 100.0f);
    RayTrace::Light light;
    light.Position = Vec3f(0, -3, 0);
    light.Radius = 0.5f;
    const std::vector<float> image = RayTrace::Visibility(scene, camera, light, 4);
    EXPECT_EQ(image[0], RayTrace::NoSurface);              // a corner misses the floor
    EXPECT_EQ(image[4 * 8 + 4], RayTrace::FacesAway);      // the middle sees it from above
}

TEST(ReferenceRayTracer, OccludersOfTheirOwnHideTheLightAndAreNotSeen)
{
    // One pixel looking down at a floor; the light 10 above it.
    RayTrace::Camera camera;
    camera.Width = 1;
    camera.Height = 1;
    camera.View = Math::Mat4::LookAt(Vec3f(0, 2, 0.001f), Vec3f(0, 0, 0), Vec3f(0, 0, -1));
    camera.Projection = Math::Mat4::Perspective(10.0f, 1.0f, 0.1f, 100.0f);
    RayTrace::Light light;
    light.Position = Vec3f(0, 10, 0);
    light.Radius = 1.0f;
    const std::vector<Triangle> floor = Quad(Vec3f(-50, 0, -50), Vec3f(-50, 0, 50),
                                             Vec3f(50, 0, 50), Vec3f(50, 0, -50));
    // A roof among the seen surfaces hides nothing when the occluders are given apart.
    RayTrace::Scene seen, none;
    seen.AddObject(floor);
    seen.AddObject(Quad(Vec3f(-50, 5, -50), Vec3f(-50, 5, 50), Vec3f(50, 5, 50),
                        Vec3f(50, 5, -50)));
    EXPECT_EQ(RayTrace::Visibility(seen, camera, light, 4, nullptr, &none)[0], 1.0f);
    // An occluder between the camera and the floor hides the light, and the camera sees
    // the floor through it.
    RayTrace::Scene bare, occluders;
    bare.AddObject(floor);
    occluders.AddObject(Quad(Vec3f(-50, 1, -50), Vec3f(-50, 1, 50), Vec3f(50, 1, 50),
                             Vec3f(50, 1, -50)));
    EXPECT_EQ(RayTrace::Visibility(bare, camera, light, 4, nullptr, &occluders)[0], 0.0f);
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
