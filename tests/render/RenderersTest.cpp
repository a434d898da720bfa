// The two renderers through the world renderer on the render system's window, with the
// capture tool's test scenes, against the reference ray tracer and each other.
#include "app/Exception.h"
#include "app/DeveloperException.h"
#include "config/CVars.h"
#include "gl/FragmentShader.h"
#include "gl/IRenderDevice.h"
#include "gl/Program.h"
#include "gl/VertexShader.h"
#include "gl/TextureRectangle.h"
#include "platform/Platform.h"
#include "render/PassProfiler.h"
#include "render/Renderer.h"
#include "render/RendererEx.h"
#include "render/WorldRenderer.h"
#include "tools/raytrace/RayTracer.h"
#include "tools/capture/TestScenes.h"
#include "tests/support/RasterStateReadBack.h"
#include "world/OmniLightSource.h"
#include "world/RenderGL2.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int Width = 640;
constexpr int Height = 480;
// The overlay's four lines lie in the top left corner.
constexpr int OverlayTop = 130;
constexpr int OverlayRight = 400;

bool InOverlay(int x, int y) { return y >= Height - OverlayTop && x < OverlayRight; }

Platform::LRESULT Procedure(Platform::HWND w, Platform::UINT m, Platform::WPARAM wp,
                            Platform::LPARAM lp)
{
    return Platform::DefWindowProcA(w, m, wp, lp);
}

std::vector<unsigned char> Read(const GL::ITexture& texture, int width, int height)
{
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture.GetHandle());
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
    return rgba;
}

class Renderers : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        r_Screen_Width.value = Width;
        r_Screen_Height.value = Height;
        r_Screen_Full.value = false;
        r_GL_CatchErrors.value = true;
        r_GL_FramebufferObject.value = true;
        Platform::WNDCLASSA windowClass;
        windowClass.style = Platform::CS_OWNDC;
        windowClass.lpfnWndProc = Procedure;
        windowClass.lpszClassName = "Korvo";
        Platform::RegisterClassA(&windowClass);
        window = Platform::CreateWindowExA(0, "Korvo", "Korvo", Platform::WS_POPUP, 0, 0, Width,
                                           Height, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        system = new Sys::Ptr<Korvo::IRender>(new Korvo::RenderGL2(window));
    }
    static void TearDownTestSuite()
    {
        delete system;
        system = nullptr;
        Platform::DestroyWindow(window);
    }

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
            *shadow = Read(*ex->GetKeptShadowTexture(), Width, Height);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return Read(*renderer->GetColorTexture(), Width, Height);
    }

    static int Brightness(const std::vector<unsigned char>& rgba, int x, int y)
    {
        const size_t i = (static_cast<size_t>(y) * Width + x) * 4;
        return rgba[i] + rgba[i + 1] + rgba[i + 2];
    }

    static Platform::HWND window;
    static Sys::Ptr<Korvo::IRender>* system;
    bool depthPass = false;   // count the casters' volumes by depth pass, not depth fail
    Korvo::PassProfiler* profiler = nullptr;
};

Platform::HWND Renderers::window = nullptr;
Sys::Ptr<Korvo::IRender>* Renderers::system = nullptr;

// The reference's hard visibility of the light's centre and the object seen, per pixel.
struct Reference {
    std::vector<int> Objects;
    std::vector<float> Hard;
};

Reference Trace(const std::string& sceneName)
{
    Capture::TestScene scene = Capture::BuildTestScene(sceneName, 0.6f, Width, Height);
    RayTrace::Scene traced = Capture::TracedScene(scene);
    const RayTrace::Camera camera = Capture::TracedCamera(scene, Width, Height);
    RayTrace::Light light;
    light.Position = scene.Light->Position;
    light.Reach = scene.Light->Radius;
    Reference reference;
    reference.Hard = RayTrace::Visibility(traced, camera, light, 1, &reference.Objects);
    return reference;
}

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
    return !InOverlay(x, y) && reference.Objects[i] == 0 && reference.Hard[i] >= 0.0f;
}

// What a wedge program reads of the light: its place in the drawn model's space, the
// source size and the values made from it, and the world position only where asked for.
TEST_F(Renderers, LightUniformsReachTheProgramInTheDrawnModelsSpace)
{
    GL::Program program;
    program.AttachShader(Sys::Ptr<const GL::IShader>(
        new GL::VertexShader("void main() { gl_Position = ftransform(); }")));
    program.AttachShader(Sys::Ptr<const GL::IShader>(new GL::FragmentShader(
        "struct Light { vec3 Position; vec3 WorldPosition; float Radius; float ScaledRadius;\n"
        "               float InvRadius; };\n"
        "uniform Light u_LightSource;\n"
        "void main() {\n"
        "    gl_FragColor = vec4(u_LightSource.Position + u_LightSource.WorldPosition,\n"
        "        u_LightSource.Radius + u_LightSource.ScaledRadius + u_LightSource.InvRadius);\n"
        "}\n")));
    program.Link();
    program.Bind();
    auto read = [&](const char* name, float* values) {
        glGetUniformfv(program.GetHandle(), program.GetUniformLocation(name), values);
    };

    Korvo::OmniLightSource light(50.0f);
    light.SourceSize = 2.5f;
    light.Position = Math::Vec3f(3, 4, 5);
    const Math::Mat4 modelMatrix =
        Math::Mat4::Translation(Math::Vec3f(1, 0, 0)) * Math::Mat4::RotationZ(1.2f);
    light.SetUniforms(program, modelMatrix.InverseRigid(),
                      Korvo::IPointLightSource::UniformsInModelSpace);
    float position[3] = {}, world[3] = {-1, -1, -1}, radius = 0, scaled = 0, inverse = 0;
    read("u_LightSource.Position", position);
    read("u_LightSource.WorldPosition", world);
    read("u_LightSource.Radius", &radius);
    read("u_LightSource.ScaledRadius", &scaled);
    read("u_LightSource.InvRadius", &inverse);
    // Back through the model matrix, the position is the light's again.
    const Math::Vec3f back = modelMatrix.TransformPoint(Math::Vec3f(position[0], position[1],
                                                                    position[2]));
    EXPECT_NEAR(back.x, 3.0f, 1e-5f);
    EXPECT_NEAR(back.y, 4.0f, 1e-5f);
    EXPECT_NEAR(back.z, 5.0f, 1e-5f);
    EXPECT_EQ(world[0], 0.0f) << "the world position was set in model-space mode";
    EXPECT_EQ(radius, 2.5f);
    EXPECT_EQ(scaled, 0.4f * 2.5f);
    EXPECT_EQ(inverse, 1.0f / 2.5f);

    light.SetUniforms(program, modelMatrix.InverseRigid(),
                      Korvo::IPointLightSource::UniformsWithWorldPosition);
    read("u_LightSource.WorldPosition", world);
    EXPECT_EQ(world[0], 3.0f);
    EXPECT_EQ(world[1], 4.0f);
    EXPECT_EQ(world[2], 5.0f);
    EXPECT_THROW(light.SetUniforms(program, modelMatrix, 2), Sys::DeveloperException);
    program.Unbind();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(Renderers, NoCastingOrNoCasterFlagLightsEverything)
{
    r_Shadow_Cast.value = false;
    const std::vector<unsigned char> noCasting = Draw(false, "box", true, true);
    r_Shadow_Cast.value = true;
    const std::vector<unsigned char> noFlag = Draw(false, "box", false, true);
    const std::vector<unsigned char> casting = Draw(false, "box", true, true);
    EXPECT_EQ(noCasting, noFlag);
    EXPECT_NE(noFlag, casting);
    r_Shadow_Cast.value = false;
    std::vector<unsigned char> shadow;
    Draw(true, "box", true, true, &shadow);
    r_Shadow_Cast.value = true;
    for (size_t i = 3; i < shadow.size(); i += 4)
        ASSERT_EQ(shadow[i], 255) << "the soft renderer fills the shadow value with 1";
}

TEST_F(Renderers, WithoutLightsOnlyAmbientAndTheOverlayAreDrawn)
{
    for (bool soft : {false, true}) {
        const std::vector<unsigned char> dark = Draw(soft, "box", true, false);
        int bright = 0, maximum = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) {
                if (InOverlay(x, y))
                    bright += Brightness(dark, x, y) > 200;
                else
                    maximum = std::max(maximum, Brightness(dark, x, y));
            }
        EXPECT_LE(maximum, 3 * 8) << "only the global ambient term below the overlay";
        EXPECT_GT(bright, 20) << "the overlay text is drawn";
    }
}

TEST_F(Renderers, OverlayShowsTheEnglishOrTheRussianLines)
{
    gui_English.value = true;
    const std::vector<unsigned char> english = Draw(false, "box", true, true);
    gui_English.value = false;
    const std::vector<unsigned char> russian = Draw(false, "box", true, true);
    gui_English.value = true;
    int differentOverlay = 0, differentScene = 0;
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) {
            const bool different = Brightness(english, x, y) != Brightness(russian, x, y);
            if (InOverlay(x, y))
                differentOverlay += different;
            else
                differentScene += different;
        }
    EXPECT_GT(differentOverlay, 20);
    EXPECT_EQ(differentScene, 0);
}

// Hard shadows on both off-screen paths, up to six volumes deep ("tower").
TEST_F(Renderers, HardShadowsMatchTheReference)
{
    for (bool objects : {true, false}) {
        r_GL_FramebufferObject.value = objects;
        // The cameras stand outside every volume, where both counts agree: the P-buffer
        // half holds the depth-pass count to the reference, the other the depth-fail one.
        depthPass = !objects;
        for (const std::string sceneName : {"box", "casters", "tower"}) {
            const Reference reference = Trace(sceneName);
            const std::vector<unsigned char> lit = Draw(false, sceneName, false, true);
            const std::vector<unsigned char> hard = Draw(false, sceneName, true, true);
            int floor = 0, disagree = 0, shadowed = 0;
            for (int y = 0; y < Height; ++y)
                for (int x = 0; x < Width; ++x) {
                    if (!OnFloor(reference, x, y))
                        continue;
                    ++floor;
                    const bool litReference = reference.Hard[y * Width + x] > 0.5f;
                    const bool litDrawn = Brightness(hard, x, y) * 2 > Brightness(lit, x, y);
                    shadowed += !litDrawn;
                    if (!OnHardEdge(reference, x, y) && litDrawn != litReference)
                        ++disagree;
                }
            ASSERT_GT(floor, 0);
            std::printf("%s (%s): hard disagreement %.3f%%\n", sceneName.c_str(),
                        objects ? "framebuffer objects" : "P-buffers", 100.0 * disagree / floor);
            EXPECT_GT(shadowed, 1000) << sceneName << ": a shadow is drawn at all";
            EXPECT_LT(double(disagree) / floor, 0.005) << sceneName;
        }
    }
    r_GL_FramebufferObject.value = true;
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

    int drawn = 0, refused = 0;
    for (int row = 0; row < 6; ++row) {
        std::string name;
        for (size_t o = 0; o < options.size(); ++o) {
            const bool flip = (columns[o] >> row) & 1;
            options[o]->value = flip ? !defaults[o] : defaults[o];
            name += std::string(options[o]->GetName()) + (options[o]->value ? "=1 " : "=0 ");
        }
        r_Screen_Samples.value = ((columns.back() >> row) & 1) ? 4 : 0;
        name += "r_Screen_Samples=" + std::to_string(r_Screen_Samples.value);
        for (bool soft : {false, true}) {
            // The renderers force options the hardware path needs; set them again.
            for (size_t o = 0; o < options.size(); ++o)
                options[o]->value = ((columns[o] >> row) & 1) ? !defaults[o] : defaults[o];
            r_GL_CatchErrors.value = true;
            try {
                Draw(soft, "casters", true, true, nullptr, 1);
                ++drawn;
            } catch (const Sys::Exception& e) {
                // The soft renderer needs a float target; a window system without float
                // P-buffers cannot give it one, and construction says so.
                if (soft && !r_GL_FramebufferObject.value) {
                    ++refused;
                    continue;
                }
                ADD_FAILURE() << (soft ? "soft: " : "hard: ") << name << ": " << e.GetMessageText();
            }
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
        // Every pass runs once a frame with one light (Draw adds a frame of its own).
        ASSERT_FALSE(passes.GetPasses().empty());
        const int frames = passes.GetPasses().front().Runs;
        EXPECT_GE(frames, 2);
        std::vector<std::string> names;
        for (const Korvo::PassProfiler::Pass& pass : passes.GetPasses()) {
            names.push_back(pass.Name);
            EXPECT_EQ(pass.Runs, frames) << pass.Name;
            EXPECT_GE(pass.Milliseconds, 0.0);
        }
        EXPECT_EQ(names, soft ? softPasses : hardPasses);
        const auto find = [&](const char* name) {
            for (const Korvo::PassProfiler::Pass& pass : passes.GetPasses())
                if (pass.Name == name)
                    return pass;
            return Korvo::PassProfiler::Pass();
        };
        // The ambient pass passes each visible pixel once (depth equal); of those, only the
        // lit ones pass the hard renderer's stencil test in its light pass.
        const uint64_t visible = find("DrawAmbientPass").SamplesPassed;
        EXPECT_GT(visible, frames * Width * Height / 2u);
        EXPECT_LE(visible, frames * Width * Height * 1u);
        if (!soft) {
            EXPECT_LT(find("DrawColorPass").SamplesPassed, visible * 95 / 100);
            EXPECT_GT(find("DrawColorPass").SamplesPassed, visible / 4);
        }
        if (passes.CountsShaders()) {
            EXPECT_GT(find(soft ? "DrawCoveragePass" : "DrawStencilPass").FragmentInvocations, 0u);
            EXPECT_EQ(find("DrawDepthPass").Primitives, find("DrawAmbientPass").Primitives);
        }
        const std::string table = passes.Table(frames);
        EXPECT_NE(table.find(soft ? "| DrawCoveragePass | 1.0 |" : "| DrawStencilPass | 1.0 |"),
                  std::string::npos)
            << table;
    }
}
