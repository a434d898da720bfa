// The two renderers through the world renderer on the render system's window, with the
// capture tool's test scenes, against the reference ray tracer and each other.
#include "app/Exception.h"
#include "gl/IRenderDevice.h"
#include "render/PassProfiler.h"
#include "render/Renderer.h"
#include "render/RendererEx.h"
#include "render/ShadowReach.h"
#include "render/WorldRenderer.h"
#include "shadow/IMeshAdjacency.h"
#include "tests/render/RendererSuite.h"
#include "tests/support/RasterStateReadBack.h"
#include "world/ShadowDrawing.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Reference = RendererSuite::Reference;
constexpr int Width = RendererSuite::Width;
constexpr int Height = RendererSuite::Height;

class Renderers : public RendererSuite {
protected:
    // Draws a couple of frames of a test scene and returns the picture (and, for the soft
    // renderer, the light's shadow value in the red channel of `shadow`).
    std::vector<unsigned char> Draw(bool soft, const std::string& sceneName, bool casterFlag,
                                    bool withLight, std::vector<unsigned char>* shadow = nullptr,
                                    int frames = 2)
    {
        Sys::Ptr<Korvo::IRenderer> renderer;
        if (soft)
            renderer = Sys::Ptr<Korvo::IRenderer>(new Korvo::RendererEx());
        else
            renderer = Sys::Ptr<Korvo::IRenderer>(new Korvo::Renderer());
        Capture::TestScene scene = Capture::BuildTestScene(sceneName, 0.6f, Width, Height);
        if (depthPass)
            std::swap(scene.Light->ZPassCasters, scene.Light->ZFailCasters);
        for (const Sys::Ptr<Korvo::IModel>& caster : scene.Casters)
            caster->ShadowCaster = casterFlag;
        Korvo::WorldRenderer world(renderer);
        world.SetWorld(scene.Floor);
        for (const Sys::Ptr<Korvo::IModel>& caster : scene.Casters)
            world.AddModel(caster);
        world.AddLightSource(scene.Light);
        if (withLight)
            world.AddRenderedLightSource(scene.Light);
        world.SetViewer(scene.Camera);
        renderer->SetPassProfiler(profiler);
        auto ex = Sys::Ptr<Korvo::RendererEx>::DynamicFrom(renderer);
        if (ex)
            ex->KeepShadowTexture(0);
        for (int frame = 0; frame < frames; ++frame)
            world.Render(0.02f);
        // A frame of the renderer alone (the world renderer's showing of it sets state of
        // its own) leaves GL, and the device's memory of it, in the default block.
        renderer->Render(scene.Camera, scene.Floor, scene.Casters);
        EXPECT_EQ(RasterStateReadBack(), GL::RasterState()) << (soft ? "soft" : "hard");
        EXPECT_TRUE(GL::Device->CurrentRasterState == GL::RasterState());
        // Back to the window's context before a P-buffer renderer goes.
        GL::Device->SetFrameBuffer(nullptr);
        if (shadow != nullptr && ex)
            *shadow = ReadRGBA(*ex->GetKeptShadowTexture(), Width, Height);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return ReadRGBA(*renderer->GetColorTexture(), Width, Height);
    }

    static int Brightness(const std::vector<unsigned char>& rgba, int x, int y)
    {
        const size_t i = (static_cast<size_t>(y) * Width + x) * 4;
        return rgba[i] + rgba[i + 1] + rgba[i + 2];
    }

    bool depthPass = false;   // count the casters' volumes by depth pass, not depth fail
    Korvo::PassProfiler* profiler = nullptr;
};

// Whether a floor pixel of the reference lies on the one-pixel band along a hard shadow edge.
bool OnHardEdge(const Reference& reference, int x, int y)
{
    const bool lit = reference.Hard[y * Width + x] > 0.5f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < Width && ny < Height &&
                reference.Hard[ny * Width + nx] >= 0.0f &&
                (reference.Hard[ny * Width + nx] > 0.5f) != lit)
                return true;
        }
    return false;
}

bool OnFloor(const Reference& reference, int x, int y)
{
    const int i = y * Width + x;
    return !RendererSuite::InOverlay(x, y) && reference.Objects[i] == 0 && reference.Hard[i] >= 0.0f;
}

struct HardFigures {
    double Disagreement = 1.0;   // share of the floor off the edges' band lit the wrong way
    int Shadowed = 0;            // floor pixels drawn in shadow
};

// The hard picture against the reference on the floor, a pixel lit where it is at least half
// as bright as in the picture drawn without shadows.
HardFigures CompareHard(const Reference& reference, const std::vector<unsigned char>& lit,
                        const std::vector<unsigned char>& hard)
{
    const auto brightness = [](const std::vector<unsigned char>& rgba, int x, int y) {
        const size_t i = (static_cast<size_t>(y) * Width + x) * 4;
        return rgba[i] + rgba[i + 1] + rgba[i + 2];
    };
    HardFigures figures;
    int floor = 0, disagree = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            if (!OnFloor(reference, x, y))
                continue;
            ++floor;
            const bool litReference = reference.Hard[y * Width + x] > 0.5f;
            const bool litDrawn = brightness(hard, x, y) * 2 > brightness(lit, x, y);
            figures.Shadowed += !litDrawn;
            if (!OnHardEdge(reference, x, y) && litDrawn != litReference)
                ++disagree;
        }
    if (floor > 0)
        figures.Disagreement = double(disagree) / floor;
    return figures;
}

// With casting off everything is lit, as if no model cast a shadow (that casters do
// shadow: the hard shadow test).
TEST_F(Renderers, NoCastingLightsEverything)
{
    r_Shadow_Cast.value = false;
    std::vector<unsigned char> shadow;
    const std::vector<unsigned char> noCasting = Draw(false, "box", true, true);
    Draw(true, "box", true, true, &shadow);
    r_Shadow_Cast.value = true;
    EXPECT_EQ(noCasting, Draw(false, "box", false, true));
    for (size_t i = 3; i < shadow.size(); i += 4)
        ASSERT_EQ(shadow[i], 255) << "the soft renderer fills the shadow value with 1";
}

// Without lights only the global ambient term lies below the overlay; the overlay's text
// follows the language and leaves the scene alone.
TEST_F(Renderers, WithoutLightsOnlyAmbientAndTheOverlayInEitherLanguage)
{
    for (bool soft : {false, true}) {
        const std::vector<unsigned char> dark = Draw(soft, "box", true, false);
        int maximum = 0, bright = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                if (InOverlay(x, y))
                    bright += Brightness(dark, x, y) > 200;
                else
                    maximum = std::max(maximum, Brightness(dark, x, y));
            }
        EXPECT_LE(maximum, 3 * 8) << (soft ? "soft" : "hard");
        EXPECT_GT(bright, 20) << (soft ? "soft" : "hard") << ": the overlay is drawn";
    }
    gui_English.value = true;
    const std::vector<unsigned char> english = Draw(false, "box", true, true);
    gui_English.value = false;
    const std::vector<unsigned char> russian = Draw(false, "box", true, true);
    gui_English.value = true;
    int differentOverlay = 0, differentScene = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            (InOverlay(x, y) ? differentOverlay : differentScene) +=
                Brightness(english, x, y) != Brightness(russian, x, y);
    EXPECT_GT(differentOverlay, 20);
    EXPECT_EQ(differentScene, 0);
}

// Hard shadows on both off-screen paths, up to six volumes deep ("tower").
TEST_F(Renderers, HardShadowsMatchTheReference)
{
    for (bool objects : {true, false}) {
        r_GL_FramebufferObject.value = objects;
        // The cameras stand outside every volume, where both counts agree: the P-buffer
        // half holds the depth-pass count to the reference, the other the depth-fail one
        // (which would count these casters in front of the surfaces).
        depthPass = !objects;
        r_Shadow_CountInFront.value = !objects;
        for (const std::string sceneName : {"box", "casters", "tower"}) {
            const Reference reference = Trace(sceneName, 0.6f, 0);
            const std::vector<unsigned char> lit = Draw(false, sceneName, false, true);
            const std::vector<unsigned char> hard = Draw(false, sceneName, true, true);
            const HardFigures f = CompareHard(reference, lit, hard);
            std::printf("%s (%s): hard disagreement %.3f%%\n", sceneName.c_str(),
                        objects ? "framebuffer objects" : "P-buffers", 100.0 * f.Disagreement);
            EXPECT_GT(f.Shadowed, 1000) << sceneName << ": a shadow is drawn at all";
            // Off the band along the shadow's edges the count is exact: volumes cut short
            // of a lit surface show as a tenth of a percent.
            EXPECT_LT(f.Disagreement, 0.0002) << sceneName;
        }
    }
    r_GL_FramebufferObject.value = true;
    r_Shadow_CountInFront.value = true;
}

// One mesh of separate parts around the light: no plane ends the mesh's volume as a whole,
// so each part's volume ends on a plane of its own, or reaches infinity where none will do
// for it, in one draw of sides and one of far caps. Counted behind the surfaces and in
// front of them, in one draw and in two, the shadow is the reference's.
TEST_F(Renderers, PartsOfOneMeshEndEachOnItsOwn)
{
    {
        Capture::TestScene scene = Capture::BuildTestScene("packed", 0.6f, Width, Height);
        Korvo::ShadowReach reach;
        reach.Update({scene.Light}, scene.Camera.Get(), scene.Floor.Get(), scene.Casters);
        ASSERT_EQ(scene.Casters.size(), 1u);
        const Korvo::ShadowLimits limits = reach.LimitsFor(*scene.Light, *scene.Casters[0]);
        const Korvo::IMesh& mesh = *scene.Casters[0]->Meshes[0];
        const Korvo::VolumeEnd whole = Korvo::MeshVolumeEnd(mesh, &limits, true);
        EXPECT_EQ(whole.Distance, 0.0f);
        ASSERT_TRUE(Korvo::EndsByParts(mesh, &limits, true));
        EXPECT_FALSE(Korvo::EndsByParts(mesh, &limits, false));
        const Korvo::IMeshAdjacency& adjacency = *mesh.GetAdjacency();
        ASSERT_EQ(adjacency.GetPartCount(), 5);
        int ended = 0;
        for (int part = 0; part < adjacency.GetPartCount(); ++part)
            ended += Korvo::PartVolumeEnd(mesh, part, limits, whole).Distance > 0.0f;
        EXPECT_EQ(ended, 4) << "all but the block beside the light";
    }

    const Reference reference = Trace("packed", 0.6f, 0);
    const std::vector<unsigned char> lit = Draw(false, "packed", false, true);
    for (bool inFront : {false, true})
        for (bool separate : {true, false}) {
            r_Shadow_CountInFront.value = inFront;
            r_GL_SeparateStencil.value = separate;
            const HardFigures f = CompareHard(reference, lit, Draw(false, "packed", true, true));
            const std::string where = std::string(inFront ? "in front" : "behind") +
                                      (separate ? ", one draw" : ", two draws");
            EXPECT_GT(f.Shadowed, 5000) << where;
            EXPECT_LT(f.Disagreement, 0.0002) << where;
        }
    r_Shadow_CountInFront.value = true;
    r_GL_SeparateStencil.value = true;
}

TEST_F(Renderers, PresentedPictureReachesTheWindow)
{
    Platform::ShowWindow(window, Platform::SW_SHOW);
    for (bool soft : {false, true}) {
        const std::vector<unsigned char> picture = Draw(soft, "casters", true, true);
        std::vector<unsigned char> shown(picture.size());
        ASSERT_TRUE(Platform::ReadWindowPixels(window, 0, 0, Width, Height, shown.data()));
        // The overlay's corner, the caster, its shadow on the floor and the far floor.
        struct Region {
            int X, Y;
        };
        int distinct = 0;
        for (const Region& r : {Region{8, Height - 40}, Region{Width / 2 - 16, Height / 2 - 16},
                                Region{Width / 2 - 16, 40}, Region{Width - 48, Height - 80},
                                Region{16, 16}}) {
            for (int y = r.Y; y < r.Y + 32; ++y)
                for (int x = r.X; x < r.X + 32; ++x)
                    for (int c = 0; c < 3; ++c) {
                        const size_t i = (static_cast<size_t>(y) * Width + x) * 4 + c;
                        ASSERT_NEAR(shown[i], picture[i], 1)
                            << (soft ? "soft" : "hard") << " at " << x << ", " << y;
                    }
            distinct += Brightness(shown, r.X, r.Y) != Brightness(shown, 8, Height - 40);
        }
        EXPECT_GE(distinct, 2) << "the regions show different parts of the picture";
    }
    Platform::ShowWindow(window, Platform::SW_HIDE);
}

// One frame for each renderer under a pairwise covering set of the options: every pair of
// options meets in all four on/off combinations in at least one row. Each option's column
// is a different three-row subset of rows 1 to 5, row 0 keeps every default; two such
// subsets always share a row, and each has a row the other lacks.
TEST_F(Renderers, OptionCombinationsLeaveNoGLError)
{
    std::vector<CVar<bool>*> options = {&r_Shadow_Cast,        &r_Shadow_StencilOp,
                                        &r_GL_SeparateStencil, &r_GL_DepthClamp,
                                        &r_Shadow_ClearSelfShadowing, &r_Shadow_Downsample,
                                        &r_GL_EarlyTricks,     &r_GL_FramebufferObject};
    std::vector<unsigned> columns;
    for (unsigned rows = 0; rows < 64 && columns.size() < options.size() + 1; ++rows)
        if ((rows & 1) == 0 && std::bitset<6>(rows).count() == 3)
            columns.push_back(rows);
    std::vector<bool> defaults;
    for (CVar<bool>* option : options)
        defaults.push_back(option->value);

    // The renderers force options the hardware path needs: each draw sets its row again.
    const auto set = [&](int row) {
        std::string name;
        for (size_t o = 0; o < options.size(); ++o) {
            options[o]->value = ((columns[o] >> row) & 1) ? !defaults[o] : defaults[o];
            name += std::string(options[o]->GetName()) + (options[o]->value ? "=1 " : "=0 ");
        }
        r_Screen_Samples.value = ((columns.back() >> row) & 1) ? 4 : 0;
        r_GL_CatchErrors.value = true;
        return name + "r_Screen_Samples=" + std::to_string(r_Screen_Samples.value);
    };
    int drawn = 0, refused = 0;
    for (int row = 0; row < 6; ++row)
        for (bool soft : {false, true}) {
            const std::string name = set(row);
            try {
                Draw(soft, "casters", true, true, nullptr, 1);
                ++drawn;
            } catch (const Sys::Exception& e) {
                // The soft renderer needs a float target; a window system without float
                // P-buffers cannot give it one, and construction says so.
                if (soft && !r_GL_FramebufferObject.value)
                    ++refused;
                else
                    ADD_FAILURE() << (soft ? "soft: " : "hard: ") << name << ": "
                                  << e.GetMessageText();
            }
        }
    std::printf("option rows drawn %d, refused by the window system %d\n", drawn, refused);
    EXPECT_GE(drawn, 9);
    for (CVar<bool>* option : options)
        option->Reset();
    r_GL_FramebufferObject.value = true;
    r_Screen_Samples.value = 0;
    r_GL_CatchErrors.value = true;
}

} // namespace

// The profile names every pass in order, once a frame each, and its sample counts are the
// pixels each pass touched: the ambient pass every visible one, the hard light pass only
// the lit ones.
TEST_F(Renderers, PassProfileNamesEveryPassAndCountsWhatItDraws)
{
    const std::vector<std::string> hardPasses = {"DrawDepthPass",   "DrawAmbientPass",
                                                 "DrawStencilPass", "DrawColorPass",
                                                 "DrawGUI",         "EndFrame"};
    const std::vector<std::string> softPasses = {
        "DrawDepthPass",    "DrawCoordinatePass", "DrawAmbientPass", "DrawAlphaStencilPass",
        "DrawCoveragePass", "CombineShadow",      "DrawColorPass",   "DrawGUI"};
    for (bool soft : {false, true}) {
        Korvo::PassProfiler passes(true);
        profiler = &passes;
        Draw(soft, "casters", true, true, nullptr, 2);
        profiler = nullptr;
        ASSERT_FALSE(passes.GetPasses().empty());
        const int frames = passes.GetPasses().front().Runs;   // Draw adds a frame of its own
        std::vector<std::string> names;
        Korvo::PassProfiler::Pass ambient, light;
        for (const Korvo::PassProfiler::Pass& pass : passes.GetPasses()) {
            names.push_back(pass.Name);
            EXPECT_EQ(pass.Runs, frames) << pass.Name;
            if (pass.Name == "DrawAmbientPass")
                ambient = pass;
            if (pass.Name == "DrawColorPass")
                light = pass;
        }
        EXPECT_EQ(names, soft ? softPasses : hardPasses);
        EXPECT_GT(ambient.SamplesPassed, frames * Width * Height / 2u);
        EXPECT_LE(ambient.SamplesPassed, frames * Width * Height * 1u);
        if (!soft) {
            EXPECT_LT(light.SamplesPassed, ambient.SamplesPassed * 95 / 100);
            EXPECT_GT(light.SamplesPassed, ambient.SamplesPassed / 4);
        }
        // The table gives each pass's runs per frame.
        const std::string table = passes.Table(frames);
        EXPECT_NE(table.find(soft ? "| DrawCoveragePass | 1.0 |" : "| DrawStencilPass | 1.0 |"),
                  std::string::npos)
            << table;
    }
}

// A pass profiled with rasterizing off still submits every primitive it draws, and nothing
// of it reaches a pixel; the passes after it rasterize as before.
TEST_F(Renderers, PassesProfiledWithoutRasterizingKeepTheirDrawsOnly)
{
    for (bool soft : {false, true}) {
        const std::vector<std::string> shadowPasses =
            soft ? std::vector<std::string>{"DrawAlphaStencilPass", "DrawCoveragePass"}
                 : std::vector<std::string>{"DrawStencilPass"};
        Korvo::PassProfiler drawn(true), bare(true);
        bare.DiscardRasterOf(shadowPasses);
        profiler = &drawn;
        Draw(soft, "casters", true, true);
        profiler = &bare;
        Draw(soft, "casters", true, true);
        profiler = nullptr;
        EXPECT_FALSE(glIsEnabled(GL_RASTERIZER_DISCARD));
        ASSERT_EQ(drawn.GetPasses().size(), bare.GetPasses().size());
        for (size_t i = 0; i < drawn.GetPasses().size(); ++i) {
            const Korvo::PassProfiler::Pass& a = drawn.GetPasses()[i];
            const Korvo::PassProfiler::Pass& b = bare.GetPasses()[i];
            ASSERT_EQ(a.Name, b.Name);
            EXPECT_EQ(a.Primitives, b.Primitives) << a.Name;
            const bool shadowPass =
                std::find(shadowPasses.begin(), shadowPasses.end(), a.Name) != shadowPasses.end();
            if (shadowPass) {
                EXPECT_GT(a.FragmentInvocations, 0u) << a.Name;
                EXPECT_EQ(b.FragmentInvocations, 0u) << a.Name;
                EXPECT_EQ(b.SamplesPassed, 0u) << a.Name;
            } else if (a.Name != "EndFrame") {
                EXPECT_GT(b.FragmentInvocations, 0u) << a.Name;
            }
        }
    }
}
