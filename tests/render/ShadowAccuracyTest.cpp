// The soft renderer's shadow value against the ray-traced share of the light's sphere, for
// the test scenes at three light sizes, on every path the options select. The figures judge
// the tail (pixels off by more than 0.25, the worst pixel inside full umbra) as well as the
// means, over every receiver: the floor and the casters' own surfaces.
//
// The process counts the hard shadow the way its driver row does: llvmpipe is an R500-class
// driver and counts in the alpha channel; with KORVO_EXPECT_STENCIL_COUNT=1 the test runs
// under an extension override that makes it an NV4X-class driver, which counts in the stencil
// buffer and moves the count through the pixel buffer.
#include "app/Exception.h"
#include "gl/TextureRectangle.h"
#include "render/RendererEx.h"
#include "render/WorldRenderer.h"
#include "tests/render/RendererSuite.h"
#include "tools/raytrace/ShadowFigures.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int Width = RendererSuite::Width;
constexpr int Height = RendererSuite::Height;

const char* const Scenes[] = {"box",   "sphere", "casters", "crossing", "stacked",
                              "tower", "pipe",   "notch",   "overhead"};
const float Sizes[] = {0.3f, 0.6f, 1.5f};

struct Limits {
    double BadShare = 0.0005;      // share of receivers off by more than 0.25
    float UmbraWorst = 0.1f;       // largest error where the reference is below 0.02
    double MeanError = 0.01;       // mean error over receivers
    double PenumbraError = 0.05;   // mean error over the penumbra
};

// The limits every case must meet, and the places where the method itself cannot:
// - Where the penumbrae of different casters overlap, the hidden parts of the light add up;
//   where both casters hide the same part of a large light (size 1.5), the value is too
//   dark. Measured up to 0.28 % of receivers off by more than 0.25 ("casters").
// - "tower" stacks six such penumbrae: there only the count is held to the common limit
//   (umbra worst); its other figures are held just above what the addition reaches
//   (2.7 % off by more than 0.25, penumbra mean 0.138, mean 0.017 at size 1.5).
// - A half-size shadow target gives each 2 x 2 block of pixels one value. The penumbra of a
//   small light is only a few pixels wide, so next to it a texel that is partly lit can
//   cover an umbra pixel (umbra worst up to 0.129 in "tower" at 1.5, 0.106 in "sphere" at
//   0.3), and the penumbra's mean error reaches 0.073 ("pipe" at 0.3).
Limits LimitsFor(const std::string& scene, float size, bool downsample)
{
    Limits limits;
    const bool overlapping = scene == "casters" || scene == "crossing" || scene == "stacked";
    if (overlapping && size > 1.0f)
        limits.BadShare = 0.003;
    if (scene == "tower") {
        limits.BadShare = 0.03;
        limits.MeanError = 0.02;
        limits.PenumbraError = 0.15;
    }
    if (downsample) {
        limits.UmbraWorst = 0.15f;
        limits.PenumbraError = std::max(limits.PenumbraError, 0.08);
    }
    return limits;
}

// One way through the soft renderer: the options it sets on top of the defaults.
struct Path {
    std::string Name;
    std::function<void()> Set;
};

class ShadowAccuracy : public RendererSuite {
protected:
    static void SetUpTestSuite()
    {
        RendererSuite::SetUpTestSuite();
        for (const char* scene : Scenes)
            for (float size : Sizes)
                references[{scene, size}] = Trace(scene, size, 16);
    }
    static void TearDownTestSuite()
    {
        references.clear();
        RendererSuite::TearDownTestSuite();
    }

    static bool StencilCounting()
    {
        const char* expect = std::getenv("KORVO_EXPECT_STENCIL_COUNT");
        return expect != nullptr && std::string(expect) == "1";
    }

    // The light's shadow value for every pixel of the picture, as the lit pass reads it.
    static std::vector<float> ShadowValue(Korvo::RendererEx& renderer, int width, int height)
    {
        const std::vector<unsigned char> rgba =
            ReadRGBA(*renderer.GetKeptShadowTexture(), width, height);
        // A half-size target serves each 2 x 2 block of pixels from one texel.
        const int scale = width == Width ? 1 : 2;
        std::vector<float> value(static_cast<size_t>(Width) * Height);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                value[static_cast<size_t>(y) * Width + x] =
                    rgba[(static_cast<size_t>(y / scale) * width + x / scale) * 4 + 3] / 255.0f;
        return value;
    }

    // Draws every case on the path and checks its figures; returns the worst of each.
    void Check(const Path& path)
    {
        for (CVar<bool>* option : {&r_GL_SeparateStencil, &r_GL_DepthClamp, &r_GL_EarlyTricks,
                                   &r_Shadow_Downsample, &r_Shadow_ClearSelfShadowing,
                                   &r_Shadow_CountInFront})
            option->Reset();
        r_Shadow_WedgeCount.Reset();
        r_Shadow_StencilOp.value = true;
        path.Set();
        r_GL_CatchErrors.value = true;
        Sys::Ptr<Korvo::RendererEx> renderer(new Korvo::RendererEx());
        ASSERT_EQ(r_Shadow_StencilOp.value, StencilCounting())
            << "the driver row decides how the hard shadow is counted";
        const bool downsample = r_Shadow_Downsample.value;
        const int band = downsample ? 2 : 1;
        std::vector<bool> overlay(static_cast<size_t>(Width) * Height, false);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                overlay[static_cast<size_t>(y) * Width + x] = InOverlay(x, y);

        for (const char* sceneName : Scenes)
            for (float size : Sizes) {
                Capture::TestScene scene = Capture::BuildTestScene(sceneName, size, Width, Height);
                Korvo::WorldRenderer world(renderer);
                world.SetWorld(scene.Floor);
                for (const Sys::Ptr<Korvo::IModel>& caster : scene.Casters)
                    world.AddModel(caster);
                world.AddLightSource(scene.Light);
                world.AddRenderedLightSource(scene.Light);
                world.SetViewer(scene.Camera);
                renderer->KeepShadowTexture(0);
                world.Render(0.02f);
                ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
                const GL::TextureRectangle& kept = *renderer->GetKeptShadowTexture();
                const std::vector<float> drawn =
                    ShadowValue(*renderer, kept.GetWidth(), kept.GetHeight());
                const Reference& reference = references.at({sceneName, size});
                const RayTrace::ShadowFigures f =
                    RayTrace::MeasureShadow(reference.Soft, reference.Hard, reference.Objects,
                                            drawn, Width, Height, band, overlay);
                std::printf("| %s | %s | %.1f | %.4f | %.4f | %.3f %% | %.3f | %.3f |\n",
                            path.Name.c_str(), sceneName, size, f.MeanError, f.PenumbraError,
                            100.0 * f.BadShare, f.UmbraWorst, f.Worst);
                const std::string where =
                    path.Name + ", " + sceneName + ", size " + std::to_string(size) + ": " +
                    f.Describe();
                const Limits limits = LimitsFor(sceneName, size, downsample);
                ASSERT_GT(f.Receivers, 100000) << where;
                EXPECT_LT(f.BadShare, limits.BadShare) << where;
                EXPECT_LE(f.UmbraWorst, limits.UmbraWorst) << where;
                EXPECT_LT(f.MeanError, limits.MeanError) << where;
                EXPECT_LT(f.PenumbraError, limits.PenumbraError) << where;
            }
    }

    static inline std::map<std::pair<std::string, float>, Reference> references;
};

TEST_F(ShadowAccuracy, EveryPathMatchesTheReference)
{
    const std::string counting = StencilCounting() ? "stencil" : "alpha";
    // Separate stencil, self-shadowing and the depth paths change how the volumes are
    // counted; the wedge batches and the downsampled targets change the coverage pass. The
    // stencil-counting process runs the options that act on its count. The scenes' volumes
    // mostly keep clear of the eye and are counted in front of the surfaces; counted behind,
    // they end in far caps, one draw or two.
    std::vector<Path> paths = {
        {counting, [] {}},
        {counting + ", counted behind", [] { r_Shadow_CountInFront.value = false; }},
        {counting + ", one-sided stencil, counted behind",
         [] {
             r_GL_SeparateStencil.value = false;
             r_Shadow_CountInFront.value = false;
         }},
        {counting + ", self-shadowing kept, counted behind",
         [] {
             r_Shadow_ClearSelfShadowing.value = false;
             r_Shadow_CountInFront.value = false;
         }},
        {counting + ", one-sided stencil", [] { r_GL_SeparateStencil.value = false; }},
        {counting + ", no depth clamp", [] { r_GL_DepthClamp.value = false; }},
        {counting + ", self-shadowing kept", [] { r_Shadow_ClearSelfShadowing.value = false; }},
        {counting + ", downsampled", [] { r_Shadow_Downsample.value = true; }},
    };
    if (!StencilCounting()) {
        paths.push_back({counting + ", early tricks", [] { r_GL_EarlyTricks.value = true; }});
        paths.push_back({counting + ", one wedge a batch", [] { r_Shadow_WedgeCount.value = 1; }});
        paths.push_back({counting + ", 7 wedges a batch", [] { r_Shadow_WedgeCount.value = 7; }});
    }
    std::printf("| path | scene | light size | mean | penumbra mean | > 0.25 | umbra worst | "
                "worst |\n|---|---|---|---|---|---|---|---|\n");
    for (const Path& path : paths) {
        SCOPED_TRACE(path.Name);
        Check(path);
    }
}

} // namespace
