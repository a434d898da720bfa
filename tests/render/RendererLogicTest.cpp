#include "app/DeveloperException.h"
#include "render/FramePath.h"
#include "render/FrameRateCounter.h"
#include "render/IRenderer.h"
#include "render/OverlayLines.h"
#include "render/OverlayText.h"
#include "render/ShadowReach.h"
#include "world/OmniLightSource.h"
#include "world/Viewer.h"
#include "tests/support/BoxModels.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

TEST(FrameRateCounter, ShowsZeroUntilTheFirstSecondAndThenRoundsOverWholePeriods)
{
    Korvo::FrameRateCounter counter;
    for (int i = 0; i < 29; ++i)
        counter.AddFrame(33);   // 0.957 s
    EXPECT_EQ(counter.GetFramesPerSecond(), 0);
    counter.AddFrame(33);       // 30 frames in 0.99 s: still below a second
    EXPECT_EQ(counter.GetFramesPerSecond(), 0);
    counter.AddFrame(33);       // 31 frames in 1.023 s: 30.3 -> 30
    EXPECT_EQ(counter.GetFramesPerSecond(), 30);
    // The period starts again: one slow frame alone makes a new value.
    counter.AddFrame(400);
    EXPECT_EQ(counter.GetFramesPerSecond(), 30);
    counter.AddFrame(700);      // 2 frames in 1.1 s: 1.82 -> 2
    EXPECT_EQ(counter.GetFramesPerSecond(), 2);
}

// The lines keep their texts between frames: a change of one argument must reach its line
// (and a change of language or scene every line), while the other lines stay as they were.
TEST(OverlayLines, FollowTheirArgumentsLineByLine)
{
    using Korvo::OverlayText;
    Korvo::OverlayLines lines;
    lines.Update(true, 0, "llvmpipe", 640, 480, true, 0);
    EXPECT_EQ(lines.GetText(OverlayText::Videocard), "Videocard: llvmpipe");
    EXPECT_EQ(lines.GetText(OverlayText::Framebuffer), "Framebuffer: 640 x 480, Framebuffer Object");
    EXPECT_EQ(lines.GetText(OverlayText::FramesPerSecond), "Frames per second: 0");
    EXPECT_EQ(lines.GetText(OverlayText::Demoscene), "Demoscene: Zir Aradid Azavera-Zuva");

    lines.Update(true, 0, "llvmpipe", 640, 480, true, 17);
    EXPECT_EQ(lines.GetText(OverlayText::FramesPerSecond), "Frames per second: 17");
    lines.Update(true, 0, "llvmpipe", 320, 480, false, 17);
    EXPECT_EQ(lines.GetText(OverlayText::Framebuffer), "Framebuffer: 320 x 480, P-Buffer");
    lines.Update(true, 0, "softpipe", 320, 480, false, 17);
    EXPECT_EQ(lines.GetText(OverlayText::Videocard), "Videocard: softpipe");
    EXPECT_EQ(lines.GetText(OverlayText::FramesPerSecond), "Frames per second: 17");

    lines.Update(false, 1, "softpipe", 320, 480, false, 17);
    EXPECT_EQ(lines.GetText(OverlayText::FramesPerSecond), "\xCA\xE0\xE4\xF0\xEE\xE2/\xF1\xE5\xEA: 17");
    EXPECT_EQ(lines.GetText(OverlayText::Demoscene),
              "\xC4\xE5\xEC\xEE\xF1\xF6\xE5\xED\xE0: Zedov Avivi Ridor Izoder");
    EXPECT_EQ(lines.GetText(OverlayText::Videocard).substr(17), "softpipe");
    EXPECT_EQ(lines.GetLook(OverlayText::Demoscene).OffsetFromTop, 120);

    // A renderer string longer than the formatting buffer is cut, as printing cuts it.
    lines.Update(true, 1, std::string(2000, 'x'), 320, 480, false, 17);
    EXPECT_EQ(lines.GetText(OverlayText::Videocard).size(), 1023u);
}

class ListRenderer : public Korvo::IRenderer {
public:
    ListRenderer() : IRenderer(640, 480) {}
    std::string GetTypeName() const override { return "ListRenderer"; }
    void Render(Sys::Ptr<const Korvo::IViewer>, Sys::Ptr<Korvo::IModel>,
                const std::vector<Sys::Ptr<Korvo::IModel>>&) override {}
    Sys::Ptr<const GL::ITexture> GetColorTexture() const override { return {}; }
};

int CountInLog(const std::string& text)
{
    return TestFiles::Count(TestFiles::ReadLog(), text);
}

TEST(IRenderer, SixOrMoreLightsKeepTheFirstFiveWithOneWarning)
{
    std::vector<Sys::Ptr<const Korvo::IPointLightSource>> lights;
    for (int i = 0; i < 7; ++i)
        lights.push_back(Sys::Ptr<const Korvo::IPointLightSource>(
            new Korvo::OmniLightSource(float(i + 1))));
    ListRenderer renderer;
    const int before = CountInLog("only the first 5 are drawn");
    renderer.SetLightSources(std::vector<Sys::Ptr<const Korvo::IPointLightSource>>(
        lights.begin(), lights.begin() + 5));
    EXPECT_EQ(renderer.GetLightSources().size(), 5u);
    EXPECT_EQ(CountInLog("only the first 5 are drawn"), before);

    for (int frame = 0; frame < 3; ++frame) {
        renderer.SetLightSources(lights);
        ASSERT_EQ(renderer.GetLightSources().size(), 5u);
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(renderer.GetLightSources()[i] == lights[i]);
    }
    EXPECT_EQ(CountInLog("WARNING: 7 light sources given, only the first 5 are drawn."),
              before + 1);
}

TEST(FramePath, FramebufferObjectsOnlyWhenAskedForAndEverythingNeededIsThere)
{
    using Korvo::FramePath;
    FramePath::Offer all;
    all.FramebufferObject = all.PackedDepthStencil = true;
    all.FramebufferMultisample = all.FramebufferBlit = true;
    EXPECT_TRUE(FramePath::UseFramebufferObjects(true, all, 0));
    EXPECT_TRUE(FramePath::UseFramebufferObjects(true, all, 4));
    // Off by request (the default) whatever the driver offers.
    EXPECT_FALSE(FramePath::UseFramebufferObjects(false, all, 0));
    EXPECT_FALSE(FramePath::UseFramebufferObjectsEx(false, all));

    FramePath::Offer noBlit = all;
    noBlit.FramebufferBlit = false;
    EXPECT_TRUE(FramePath::UseFramebufferObjects(true, noBlit, 0));
    EXPECT_FALSE(FramePath::UseFramebufferObjects(true, noBlit, 4));
    EXPECT_TRUE(FramePath::UseFramebufferObjectsEx(true, noBlit));   // samples play no part

    FramePath::Offer noPacked = all;
    noPacked.PackedDepthStencil = false;
    EXPECT_FALSE(FramePath::UseFramebufferObjects(true, noPacked, 0));
    EXPECT_FALSE(FramePath::UseFramebufferObjectsEx(true, noPacked));

    EXPECT_EQ(FramePath::ShadowSize(641, true), 320);
    EXPECT_EQ(FramePath::ShadowSize(641, false), 641);
}

} // namespace

TEST(ShadowReach, VolumesEndPastEverySurfaceTheLightCanShowAndCastersBeyondDrop)
{
    using Math::Vec3f;
    Sys::Ptr<Korvo::IModel> world = ::Test::ModelWithBoxes({{Vec3f(-50, 0, -50), Vec3f(50, 20, 50)}});
    Sys::Ptr<Korvo::IModel> near = ::Test::ModelWithBoxes({{Vec3f(-1, 2, -1), Vec3f(1, 4, 1)}});
    Sys::Ptr<Korvo::IModel> far = ::Test::ModelWithBoxes({{Vec3f(40, 0, 40), Vec3f(45, 5, 45)}});
    Sys::Ptr<Korvo::IModel> around = ::Test::ModelWithBoxes({{Vec3f(-2, 8, -2), Vec3f(2, 12, 2)}});
    near->Position = Vec3f(3, 0, 2);   // the limits follow the caster into its own space
    Sys::Ptr<Korvo::OmniLightSource> light(new Korvo::OmniLightSource(100.0f));
    light->Position = Vec3f(0, 10, 0);
    light->ZFailCasters = {far, near, around};
    light->ZPassCasters = {far, near};
    Korvo::Viewer viewer;
    viewer.SetProjection(60.0f, 1.0f, 1.0f, 1000.0f);
    viewer.LookAt(Vec3f(0, 15, 40), Vec3f(0, 0, 0), Vec3f(0, 1, 0));

    Korvo::ShadowReach reach;
    const std::vector<Sys::Ptr<const Korvo::IPointLightSource>> lights = {light};
    reach.Update(lights, &viewer, world.Get(), {near, far, around});
    // The near caster's volume keeps clear of the eye: it joins those counted in front.
    using List = std::vector<Sys::Ptr<Korvo::IModel>>;
    EXPECT_EQ(reach.WedgeCasters(*light), (List{near, around}));
    EXPECT_EQ(reach.ZFailCasters(*light), (List{around}));
    EXPECT_EQ(reach.ClearCasters(*light), (List{near}));
    EXPECT_EQ(reach.ZPassCasters(*light), (List{near}));

    // The light among a caster's own box: never past the limits.
    const Korvo::ShadowLimits& aroundLimits = reach.LimitsFor(*light, *around);
    EXPECT_FALSE(aroundLimits.Beyond(around->Meshes[0]->BoundsMin, around->Meshes[0]->BoundsMax));

    // Every point the light reaches that the view shows inside the scene lies within the
    // limits along any axis, and the view cuts them well short of the reach. (The far
    // caster, within reach and within the scene, lies out of view beside the eye.)
    const Korvo::ShadowLimits& limits = reach.LimitsFor(*light, *near);
    const Math::Mat4 toModel = near->GetModelMatrix().InverseRigid();
    const Math::Mat4 toClip = viewer.GetProjectionMatrix() * viewer.GetViewMatrix();
    std::mt19937 random(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<Vec3f> axes;
    for (int i = 0; i < 16; ++i)
        axes.push_back(Math::Normalize(Vec3f(unit(random) - 0.5f, unit(random) - 0.5f,
                                              unit(random) - 0.5f)));
    EXPECT_LT(limits.Farthest(Vec3f(0, 0, -1)), 60.0f);
    int inside = 0;
    for (int i = 0; i < 20000; ++i) {
        const Vec3f p(-50 + 100 * unit(random), 20 * unit(random), -50 + 100 * unit(random));
        if ((p - light->Position).Length() >= light->Radius)
            continue;
        const Math::Mat4& m = toClip;
        const float x = m(0, 0) * p.x + m(0, 1) * p.y + m(0, 2) * p.z + m(0, 3);
        const float y = m(1, 0) * p.x + m(1, 1) * p.y + m(1, 2) * p.z + m(1, 3);
        const float w = m(3, 0) * p.x + m(3, 1) * p.y + m(3, 2) * p.z + m(3, 3);
        if (w <= 0.0f || std::abs(x) > w || std::abs(y) > w)
            continue;
        ++inside;
        const Vec3f q = toModel.TransformPoint(p);
        for (const Vec3f& axis : axes)
            ASSERT_LE(Math::Dot(q - limits.Light, axis), limits.Farthest(axis))
                << p.x << " " << p.y << " " << p.z;
    }
    EXPECT_GT(inside, 1000);

    // A volume ends on a plane past the limits that every ray from the light through the
    // mesh meets well ahead, never for a light among the mesh; of the planes that do, one
    // the rays reach sooner than across the axis to the mesh's middle (here the plane
    // across the box's side below the light).
    Vec3f axis;
    float distance = 0.0f;
    const Korvo::IMesh& nearMesh = *near->Meshes[0];
    ASSERT_TRUE(limits.VolumeEnd(nearMesh.BoundsMin, nearMesh.BoundsMax, axis, distance, true));
    EXPECT_EQ(distance, limits.Farthest(axis));
    const Vec3f middle = (nearMesh.BoundsMin + nearMesh.BoundsMax) * 0.5f;
    const Vec3f toMiddle = Math::Normalize(middle - limits.Light);
    const float middleEnd = limits.Farthest(toMiddle);
    float runOn = 0.0f, middleRunOn = 0.0f;
    for (int i = 0; i < 8; ++i) {
        const Vec3f corner(i & 1 ? nearMesh.BoundsMax.x : nearMesh.BoundsMin.x,
                           i & 2 ? nearMesh.BoundsMax.y : nearMesh.BoundsMin.y,
                           i & 4 ? nearMesh.BoundsMax.z : nearMesh.BoundsMin.z);
        const Vec3f ray = corner - limits.Light;
        const float along = Math::Dot(ray, axis);
        EXPECT_GE(along, 0.1f * distance);
        EXPECT_LT(along, distance);
        runOn += ray.Length() * (distance / along - 1.0f);
        const float middleAlong = Math::Dot(ray, toMiddle);
        ASSERT_GE(middleAlong, 0.1f * middleEnd) << "the axis to the middle would do too";
        middleRunOn += ray.Length() * (middleEnd / middleAlong - 1.0f);
    }
    EXPECT_LT(runOn, middleRunOn);
    // Two draws that cull a side each keep the axis to the middle.
    ASSERT_TRUE(limits.VolumeEnd(nearMesh.BoundsMin, nearMesh.BoundsMax, axis, distance, false));
    EXPECT_NEAR(Math::Dot(toMiddle, axis), 1.0f, 1e-5f);
    EXPECT_FLOAT_EQ(distance, middleEnd);
    for (bool anyAxis : {false, true})
        EXPECT_FALSE(aroundLimits.VolumeEnd(around->Meshes[0]->BoundsMin,
                                            around->Meshes[0]->BoundsMax, axis, distance, anyAxis));

    // A wide slab below the light and off its middle (pipes under a lamp on the ceiling)
    // reaches back past the light along the axis to its middle, but ends below it.
    Korvo::ShadowLimits above;
    above.Light = Vec3f(80, 10, 0);
    above.Reach = 50.0f;
    EXPECT_FALSE(above.VolumeEnd(Vec3f(-100, -1, -100), Vec3f(100, 1, 100), axis, distance, false));
    ASSERT_TRUE(above.VolumeEnd(Vec3f(-100, -1, -100), Vec3f(100, 1, 100), axis, distance, true));
    EXPECT_NEAR(axis.y, -1.0f, 1e-6f);
    EXPECT_NEAR(distance, 50.0f * 1.01f, 1e-3f);

    // The light's sphere spans the window depths around its centre's.
    float nearest, farthest;
    reach.DepthBounds(*light, nearest, farthest);
    const float centre = Korvo::ShadowReach::WindowDepth(viewer.GetProjectionMatrix(), 40.0f);
    EXPECT_EQ(nearest, 0.0f) << "the eye lies within the light's reach";
    EXPECT_GT(farthest, centre);
    EXPECT_LT(farthest, 1.0f);
    const Math::Mat4& p = viewer.GetProjectionMatrix();
    EXPECT_NEAR(centre, 0.5f * (p(2, 2) * -40.0f + p(2, 3)) / 40.0f + 0.5f, 1e-6f);
    EXPECT_EQ(Korvo::ShadowReach::WindowDepth(p, 0.5f), 0.0f);
    const GL::RasterState block = GL::RasterState().NoColor();
    EXPECT_EQ(reach.DepthBounded(*light, block, false), block);
    const GL::RasterState bounded = reach.DepthBounded(*light, block, true);
    EXPECT_TRUE(bounded.DepthBounds);
    EXPECT_EQ(bounded.DepthBoundsMin, nearest);
    EXPECT_EQ(bounded.DepthBoundsMax, farthest);

    // No reach, no shadows.
    light->Radius = 0.0f;
    reach.Update(lights, &viewer, world.Get(), {near, far, around});
    EXPECT_TRUE(reach.ZFailCasters(*light).empty());
    EXPECT_TRUE(reach.ZPassCasters(*light).empty());
    EXPECT_TRUE(reach.WedgeCasters(*light).empty());
    EXPECT_TRUE(reach.ClearCasters(*light).empty());
}

// A caster the light counts behind the surfaces is counted in front of them where its whole
// volume keeps clear of the near plane in view: by its box and the box seen from the light
// on the volume's end plane, or else by its box and its silhouette's side quads. Its wedges
// are drawn wherever it is counted.
TEST(ShadowReach, CastersWhoseVolumesKeepAwayFromTheEyeAreCountedInFront)
{
    using Math::Vec3f;
    Sys::Ptr<::Test::BoxModel> wall(new ::Test::BoxModel);
    wall->Meshes.push_back(Sys::Ptr<Korvo::IMesh>(new ::Test::TriangleMesh(
        {Vec3f(-100, -100, -60), Vec3f(100, -100, -60), Vec3f(100, 100, -60),
         Vec3f(-100, 100, -60)},
        {{0, 1, 2}, {0, 2, 3}})));
    Sys::Ptr<::Test::BoxModel> ahead(new ::Test::BoxModel);
    ahead->Meshes.push_back(::Test::CasterCubes({{Vec3f(-1, -1, -32), Vec3f(1, 1, -30)}}));
    // One mesh of two cubes: one far ahead, one out of view beside the eye. Their box
    // reaches in front of the eye; the volumes do not.
    Sys::Ptr<::Test::BoxModel> beside(new ::Test::BoxModel);
    beside->Meshes.push_back(::Test::CasterCubes(
        {{Vec3f(-1, -1, -42), Vec3f(1, 1, -40)}, {Vec3f(-30, -1, -5), Vec3f(-28, 1, -3)}}));
    Sys::Ptr<::Test::BoxModel> around(new ::Test::BoxModel);
    around->Meshes.push_back(::Test::CasterCubes({{Vec3f(-2, 28, -22), Vec3f(2, 32, -18)}}));
    // A slab the eye lies in: its silhouette lies far outside the view.
    Sys::Ptr<::Test::BoxModel> slab(new ::Test::BoxModel);
    slab->Meshes.push_back(::Test::CasterCubes({{Vec3f(-90, -0.5f, -90), Vec3f(90, 0.5f, 90)}}));

    // Above the eye, out of view: its volume holds the eye, no side of it near.
    Sys::Ptr<::Test::BoxModel> umbrella(new ::Test::BoxModel);
    umbrella->Meshes.push_back(::Test::CasterCubes({{Vec3f(-5, 10, -12), Vec3f(5, 12, -2)}}));
    // A speck whose shadow falls across the top of the near plane's rectangle, not its
    // middle.
    Sys::Ptr<::Test::BoxModel> speck(new ::Test::BoxModel);
    speck->Meshes.push_back(
        ::Test::CasterCubes({{Vec3f(-0.05f, 14.95f, -10.39f), Vec3f(0.05f, 15.05f, -10.29f)}}));
    // A wall of a slab between the eye and a light behind it, whose reach ends just before
    // the eye: the volume's silhouette lies outside the view, but its end lies between the
    // eye and the surfaces.
    Sys::Ptr<::Test::BoxModel> wide(new ::Test::BoxModel);
    wide->Meshes.push_back(::Test::CasterCubes({{Vec3f(-50, -50, -31), Vec3f(50, 50, -30)}}));
    // A ceiling just over the eye, its box above the view: each side of its volume heads
    // out of view too, but the volume holds the eye, which only the ray from the light to
    // the rectangle's middle shows, meeting the ceiling near the rectangle's end.
    Sys::Ptr<::Test::BoxModel> ceiling(new ::Test::BoxModel);
    ceiling->Meshes.push_back(::Test::CasterCubes({{Vec3f(-3, 2, -3), Vec3f(3, 2.2f, 2)}}));

    // Above and ahead of the eye: every volume but the one around the light, which holds all
    // but the light, heads down and away from the eye, the slab and the umbrella hold the
    // eye, and the speck's crosses the near plane's rectangle.
    Sys::Ptr<Korvo::OmniLightSource> above(new Korvo::OmniLightSource(200.0f));
    above->Position = Vec3f(0, 30, -20);
    above->ZFailCasters = {around, ahead, slab, beside, umbrella, speck};
    // Beside the eye: the near cube's volume sweeps across the view right in front of it.
    Sys::Ptr<Korvo::OmniLightSource> left(new Korvo::OmniLightSource(200.0f));
    left->Position = Vec3f(-40, 0, -4);
    left->ZFailCasters = {beside};
    Sys::Ptr<Korvo::OmniLightSource> behind(new Korvo::OmniLightSource(36.0f));
    behind->Position = Vec3f(0, 0, -40);
    behind->ZFailCasters = {wide};
    Sys::Ptr<Korvo::OmniLightSource> high(new Korvo::OmniLightSource(250.0f));
    high->Position = Vec3f(0, 100, -1);
    high->ZFailCasters = {ceiling};
    Korvo::Viewer viewer;
    viewer.SetProjection(60.0f, 1.0f, 1.0f, 1000.0f);
    viewer.LookAt(Vec3f(0, 0, 0), Vec3f(0, 0, -1), Vec3f(0, 1, 0));

    Korvo::ShadowReach reach;
    const std::vector<Sys::Ptr<const Korvo::IPointLightSource>> lights = {above, left, behind,
                                                                          high};
    const std::vector<Sys::Ptr<Korvo::IModel>> models = {ahead, beside, around, umbrella,
                                                         slab,  wide,   speck,  ceiling};
    using List = std::vector<Sys::Ptr<Korvo::IModel>>;
    reach.Update(lights, &viewer, wall.Get(), models);
    EXPECT_EQ(reach.ClearCasters(*above), (List{ahead, beside}));
    EXPECT_EQ(reach.ZFailCasters(*above), (List{around, slab, umbrella, speck}));
    EXPECT_EQ(reach.WedgeCasters(*above), (List{around, ahead, slab, beside, umbrella, speck}));
    EXPECT_TRUE(reach.ZPassCasters(*above).empty());
    EXPECT_TRUE(reach.ClearCasters(*left).empty());
    EXPECT_EQ(reach.ZFailCasters(*left), (List{beside}));
    EXPECT_EQ(reach.WedgeCasters(*left), (List{beside}));
    EXPECT_TRUE(reach.ClearCasters(*behind).empty());
    EXPECT_EQ(reach.ZFailCasters(*behind), (List{wide}));
    EXPECT_TRUE(reach.ClearCasters(*high).empty());
    EXPECT_EQ(reach.ZFailCasters(*high), (List{ceiling}));
    // The wall's volume ends ahead of the near plane, which it keeps clear of.
    Math::Vec3f axis;
    float distance = 0.0f;
    ASSERT_TRUE(reach.LimitsFor(*behind, *wide)
                    .VolumeEnd(Vec3f(-50, -50, -31), Vec3f(50, 50, -30), axis, distance, true));
    EXPECT_LT(distance, 39.0f);
    EXPECT_GT(distance, 30.0f);

    // A light among a caster's box: its volume reaches infinity. One cube's shadow runs
    // from behind the light towards the eye and over the top of the near plane's
    // rectangle, though not over its middle; the other cube keeps the box around the light.
    Sys::Ptr<::Test::BoxModel> rising(new ::Test::BoxModel);
    rising->Meshes.push_back(
        ::Test::CasterCubes({{Vec3f(-0.5f, 0.05f, -19), Vec3f(0.5f, 1.05f, -18)},
                             {Vec3f(-0.5f, -3, -21), Vec3f(0.5f, -2, -19.5f)}}));
    Sys::Ptr<Korvo::OmniLightSource> low(new Korvo::OmniLightSource(200.0f));
    low->Position = Vec3f(0, 0, -20);
    low->ZFailCasters = {rising};
    reach.Update({low}, &viewer, wall.Get(), {rising});
    ASSERT_FALSE(reach.LimitsFor(*low, *rising)
                     .VolumeEnd(rising->Meshes[0]->BoundsMin, rising->Meshes[0]->BoundsMax, axis,
                                distance, true));
    EXPECT_EQ(reach.ZFailCasters(*low), (List{rising}));

    // Without a view nothing is known of the eye: every volume is counted behind.
    reach.Update(lights, nullptr, wall.Get(), models);
    EXPECT_TRUE(reach.ClearCasters(*above).empty());
    EXPECT_EQ(reach.ZFailCasters(*above), (List{around, ahead, slab, beside, umbrella, speck}));
}

// The nearest surface the view shows: a room around the eye (whose box says nothing) by its
// triangles, a box in front of the eye by its nearest face, never what lies beside or
// behind the view. The counts of depth fail may then leave out what lies nearer.
TEST(ShadowReach, NearestSurfaceIsWhatTheViewShowsNearest)
{
    using Math::Vec3f;
    // Floor and ceiling 5 below and above the eye, from behind it far ahead.
    Sys::Ptr<::Test::BoxModel> world(new ::Test::BoxModel);
    world->Meshes.push_back(Sys::Ptr<Korvo::IMesh>(new ::Test::TriangleMesh(
        {Vec3f(-100, -5, 20), Vec3f(100, -5, 20), Vec3f(-100, -5, -100), Vec3f(100, -5, -100),
         Vec3f(-100, 5, 20), Vec3f(100, 5, 20), Vec3f(-100, 5, -100), Vec3f(100, 5, -100)},
        {{0, 1, 2}, {1, 3, 2}, {4, 6, 5}, {5, 6, 7}})));
    Sys::Ptr<::Test::BoxModel> model(new ::Test::BoxModel);
    model->Meshes.push_back(::Test::CubeMesh(Vec3f(-1, -1, -12), Vec3f(1, 1, -10)));
    model->Meshes.push_back(::Test::CubeMesh(Vec3f(50, -1, -3), Vec3f(52, 1, -2)));  // beside
    model->Meshes.push_back(::Test::CubeMesh(Vec3f(-1, -1, 2), Vec3f(1, 1, 4)));     // behind
    Korvo::Viewer viewer;
    viewer.SetProjection(60.0f, 1.0f, 1.0f, 1000.0f);
    viewer.LookAt(Vec3f(0, 0, 0), Vec3f(0, 0, -1), Vec3f(0, 1, 0));
    Korvo::ShadowReach reach;
    const GL::RasterState block = GL::RasterState().NoColor();

    // The frustum's lower and upper planes meet floor and ceiling at 5 / tan 30 degrees.
    reach.Update({}, &viewer, world.Get(), {model});
    EXPECT_NEAR(reach.NearestSurface(), 5.0f / std::tan(0.5236f), 1e-3f);
    EXPECT_NEAR(reach.NearerCut(block).NearCut, 0.98f * reach.NearestSurface(), 1e-5f);
    EXPECT_EQ(reach.NearerCut(block).NoColor(), block.CutNearerThan(reach.NearerCut(block).NearCut));

    // The box moved nearer than the floor's edge, and placed by its model.
    model->Position = Vec3f(0, 0, 4);
    reach.Update({}, &viewer, world.Get(), {model});
    EXPECT_NEAR(reach.NearestSurface(), 6.0f, 1e-4f);

    // The eye within the box: its faces begin where they enter the frustum, 1 / tan 30
    // degrees ahead.
    model->Position = Vec3f(0, 0, 9.5f);
    reach.Update({}, &viewer, world.Get(), {model});
    EXPECT_NEAR(reach.NearestSurface(), 1.0f / std::tan(0.5236f), 1e-3f);

    // A surface through the near plane: nothing to leave out. No view, no depth.
    Sys::Ptr<::Test::BoxModel> level(new ::Test::BoxModel);
    level->Meshes.push_back(Sys::Ptr<Korvo::IMesh>(new ::Test::TriangleMesh(
        {Vec3f(-9, 0, 5), Vec3f(9, 0, 5), Vec3f(0, 0, -50)}, {{0, 1, 2}})));
    reach.Update({}, &viewer, world.Get(), {model, level});
    EXPECT_NEAR(reach.NearestSurface(), 1.0f, 1e-4f);
    EXPECT_EQ(reach.NearerCut(block), block);
    reach.Update({}, nullptr, world.Get(), {model});
    EXPECT_EQ(reach.NearestSurface(), 0.0f);
    EXPECT_EQ(reach.NearerCut(block), block);
}
