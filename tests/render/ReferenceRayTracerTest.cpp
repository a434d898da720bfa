#include "tools/raytrace/RayTracer.h"
#include "tools/raytrace/ShadowFigures.h"

#include <gtest/gtest.h>

namespace {

using Math::Vec3f;

// What the judge leaves out rests on these marks: a pixel that sees nothing, and a surface
// turned away from the light (a small floor seen from above, its light below it).
TEST(ReferenceRayTracer, MarksEmptyPixelsAndSurfacesTurnedFromTheLight)
{
    RayTrace::Scene scene;
    scene.AddObject({{Vec3f(-1, 0, -1), Vec3f(-1, 0, 1), Vec3f(1, 0, 1)},
                     {Vec3f(-1, 0, -1), Vec3f(1, 0, 1), Vec3f(1, 0, -1)}});
    RayTrace::Camera camera;
    camera.Width = camera.Height = 8;
    camera.View = Math::Mat4::LookAt(Vec3f(0, 5, 0.001f), Vec3f(0, 0, 0), Vec3f(0, 0, -1));
    camera.Projection = Math::Mat4::Perspective(60.0f, 1.0f, 0.1f, 100.0f);
    RayTrace::Light light;
    light.Position = Vec3f(0, -3, 0);
    light.Radius = 0.5f;
    const std::vector<float> image = RayTrace::Visibility(scene, camera, light, 4);
    EXPECT_EQ(image[0], RayTrace::NoSurface);              // a corner misses the floor
    EXPECT_EQ(image[4 * 8 + 4], RayTrace::FacesAway);      // the middle sees it from above
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
