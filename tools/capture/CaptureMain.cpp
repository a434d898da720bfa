// Off-screen capture: brings up the render system on the current X display, builds a test
// scene or one of the demo scenes, steps a number of frames with a fixed time step and
// writes the final picture (and, for the soft-shadow renderer, one light's shadow value)
// as PNG, with the time of every frame.
//
//   korvo_capture --scene box|sphere|...|zori|dazu --out picture.png
//                 [--renderer hard|soft] [--fbo 0|1] [--width 640] [--height 480]
//                 [--frames 10] [--step 20] [--source 0.6] [--cast 1] [--english 1]
//                 [--set r_Name=value,r_Other=value]
//                 [--shadow-light 0 --shadow-out shadow.png] [--timings timings.txt]
//                 [--passes passes.md [--shadow-raster 0]]
//
// Every frame's line in the timings gives its time and the part of it spent in animation
// and skinning, light collection, silhouettes and shadow-volume updates, and the rest of
// the frame: GL submission up to the finished picture.

#include "app/Exception.h"
#include "config/CVars.h"
#include "gl/TextureRectangle.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "render/IRenderer.h"
#include "render/PassProfiler.h"
#include "render/RendererEx.h"
#include "render/WorldRenderer.h"
#include "tools/capture/CaptureSetup.h"
#include "tools/capture/FixedStepDemo.h"
#include "tools/capture/PngFile.h"
#include "tools/capture/TestScenes.h"
#include "world/FrameProfile.h"
#include "world/RenderGL2.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Capture::ReadTexture;

int Run(const std::map<std::string, std::string>& options)
{
    auto option = [&options](const char* name, const char* fallback) {
        const auto found = options.find(name);
        return found != options.end() ? found->second : std::string(fallback);
    };
    const std::string sceneName = option("scene", "box");
    const std::string out = option("out", "");
    const int frames = std::atoi(option("frames", "10").c_str());
    const int32_t stepMs = std::atoi(option("step", "20").c_str());
    const int shadowLight = std::atoi(option("shadow-light", "-1").c_str());
    if (out.empty() || frames < 1 || stepMs < 0) {
        std::fprintf(stderr, "korvo_capture: --out, --frames >= 1 and --step >= 0 needed\n");
        return 2;
    }

    r_Screen_Width.value = std::atoi(option("width", "640").c_str());
    r_Screen_Height.value = std::atoi(option("height", "480").c_str());
    r_Screen_Full.value = false;
    r_Shadow_PenumbraWedges.value = option("renderer", "soft") == "soft";
    r_GL_FramebufferObject.value = option("fbo", "1") == "1";
    r_GL_CatchErrors.value = true;
    r_Shadow_Cast.value = option("cast", "1") == "1";
    gui_English.value = option("english", "1") == "1";
    // --set name=value[,name=value...] sets further configuration variables by name.
    Capture::ApplySettings(option("set", ""));

    Platform::HWND window = Capture::OpenWindow("Korvo Capture");
    if (window == nullptr) {
        std::fprintf(stderr, "korvo_capture: no window (is DISPLAY set?)\n");
        return 1;
    }

    std::vector<double> times;
    std::vector<Korvo::FrameProfile> phases;
    times.reserve(frames);
    phases.reserve(frames);
    Sys::Ptr<Korvo::IRenderer> renderer;
    auto step = [&times, &phases](const std::function<void()>& frame) {
        Korvo::g_FrameProfile = Korvo::FrameProfile();
        const auto start = std::chrono::steady_clock::now();
        frame();
        glFinish();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
        phases.push_back(Korvo::g_FrameProfile);
    };
    auto keepShadow = [shadowLight](const Sys::Ptr<Korvo::IRenderer>& r) {
        auto soft = Sys::Ptr<Korvo::RendererEx>::DynamicFrom(r);
        if (soft && shadowLight >= 0)
            soft->KeepShadowTexture(shadowLight);
    };
    auto save = [&](const Sys::Ptr<Korvo::IRenderer>& r) {
        auto picture = Sys::Ptr<const GL::TextureRectangle>::DynamicFrom(r->GetColorTexture());
        if (!Capture::WritePng(out, picture->GetWidth(), picture->GetHeight(),
                               ReadTexture(*picture)))
            throw Sys::Exception("Failed to write <%s>.", out.c_str());
        auto soft = Sys::Ptr<Korvo::RendererEx>::DynamicFrom(r);
        const std::string shadowOut = option("shadow-out", "");
        if (soft && soft->GetKeptShadowTexture() && !shadowOut.empty()) {
            const GL::TextureRectangle& shadow = *soft->GetKeptShadowTexture();
            std::vector<unsigned char> rgba = ReadTexture(shadow);
            // The value lives in alpha: show it as grey.
            for (size_t i = 0; i < rgba.size(); i += 4)
                rgba[i] = rgba[i + 1] = rgba[i + 2] = rgba[i + 3], rgba[i + 3] = 255;
            if (!Capture::WritePng(shadowOut, shadow.GetWidth(), shadow.GetHeight(), rgba))
                throw Sys::Exception("Failed to write <%s>.", shadowOut.c_str());
        }
    };

    // --passes FILE: every pass's figures, from the second frame on (the first compiles the
    // shaders and fills the buffers). Query objects live in the frame's one context, so with
    // P-buffers only the times are taken.
    const std::string passesPath = option("passes", "");
    std::unique_ptr<Korvo::PassProfiler> profiler;
    int profiledFrames = 0;
    auto profile = [&](const Sys::Ptr<Korvo::IRenderer>& r, int frame) {
        if (passesPath.empty() || frame < 1)
            return;
        if (!profiler) {
            profiler = std::make_unique<Korvo::PassProfiler>(r_GL_FramebufferObject.value);
            // --shadow-raster 0: the shadow geometry's passes drawn with rasterizing off,
            // what the frame costs besides their fragments (the picture is then wrong).
            if (option("shadow-raster", "1") == "0")
                profiler->DiscardRasterOf(
                    {"DrawStencilPass", "DrawAlphaStencilPass", "DrawCoveragePass"});
            r->SetPassProfiler(profiler.get());
        }
        ++profiledFrames;
    };
    auto writePasses = [&](const Sys::Ptr<Korvo::IRenderer>& r) {
        if (!profiler)
            return;
        r->SetPassProfiler(nullptr);
        FILE* file = std::fopen(passesPath.c_str(), "w");
        if (file == nullptr)
            throw Sys::Exception("Failed to write <%s>.", passesPath.c_str());
        std::fprintf(file, "%s", profiler->Table(profiledFrames).c_str());
        std::fclose(file);
        profiler.reset();
    };

    if (sceneName == "zori" || sceneName == "dazu") {
        Capture::FixedStepDemo demo(sceneName, window, stepMs);
        keepShadow(demo.GetRenderer());
        for (int i = 0; i < frames; ++i) {
            profile(demo.GetRenderer(), i);
            step([&demo] { demo.Step(); });
        }
        save(demo.GetRenderer());
        writePasses(demo.GetRenderer());
    } else {
        Sys::Ptr<Korvo::IRender> system(new Korvo::RenderGL2(window));
        {
            const float source = static_cast<float>(std::atof(option("source", "0.6").c_str()));
            Capture::TestScene scene = Capture::BuildTestScene(
                sceneName, source, r_Screen_Width.value, r_Screen_Height.value);
            Sys::Ptr<Korvo::WorldRenderer> world(new Korvo::WorldRenderer());
            world->SetWorld(scene.Floor);
            for (const Sys::Ptr<Korvo::IModel>& caster : scene.Casters)
                world->AddModel(caster);
            world->AddLightSource(scene.Light);
            world->AddRenderedLightSource(scene.Light);
            world->SetViewer(scene.Camera);
            keepShadow(world->GetRenderer());
            const float seconds = stepMs / 1000.0f;
            for (int i = 0; i < frames; ++i) {
                profile(world->GetRenderer(), i);
                step([&world, seconds] { world->Render(seconds); });
            }
            save(world->GetRenderer());
            writePasses(world->GetRenderer());
        }
        system = nullptr;
    }
    Platform::DestroyWindow(window);

    FILE* timings = stdout;
    const std::string timingsPath = option("timings", "");
    if (!timingsPath.empty())
        timings = std::fopen(timingsPath.c_str(), "w");
    double total = 0;
    for (size_t i = 0; i < times.size(); ++i) {
        const Korvo::FrameProfile& p = phases[i];
        const double submission =
            times[i] - 1000.0 * (p.Animation + p.Lights + p.Shadows);
        std::fprintf(timings,
                     "frame %zu: %.0f ms animation %.3f lights %.3f shadows %.3f "
                     "submission %.3f total %.3f\n",
                     i, times[i], 1000.0 * p.Animation, 1000.0 * p.Lights,
                     1000.0 * p.Shadows, submission, times[i]);
        total += times[i];
    }
    std::fprintf(timings, "mean: %.1f ms over %zu frames\n", total / times.size(), times.size());
    if (timings != stdout)
        std::fclose(timings);
    return 0;
}

} // namespace

const char* const Usage =
    "Usage: korvo_capture --out picture.png [options]\n"
    "\n"
    "Draws a scene off-screen on the current X display and writes the last frame as PNG.\n"
    "\n"
    "  --scene NAME            box (default), sphere, casters, crossing, stacked, tower, pipe,\n"
    "                          notch, packed, overhead: test scenes; zori, dazu: the demo's\n"
    "  --out FILE              the picture (needed)\n"
    "  --renderer hard|soft    hard or soft shadows (soft)\n"
    "  --fbo 0|1               off-screen buffers as framebuffer objects (1) or P-buffers\n"
    "  --width N, --height N   frame size (640 x 480)\n"
    "  --frames N              frames drawn (10)\n"
    "  --step MS               fixed time step of a frame in milliseconds (20)\n"
    "  --source SIZE           light source size of the test scenes (0.6)\n"
    "  --cast 0|1              draw shadows (1)\n"
    "  --english 0|1           overlay text in English (1)\n"
    "  --set name=value[,...]  further configuration variables\n"
    "  --shadow-light N --shadow-out FILE   one light's shadow value as PNG (soft renderer)\n"
    "  --timings FILE          every frame's time and its parts\n"
    "  --passes FILE           every pass's time, primitives, fragment shaders and samples\n"
    "  --shadow-raster 0|1     with --passes: rasterize the shadow volumes and wedges (1)\n"
    "  --help                  show this text\n"
    "\n"
    "Exit codes: 0 written, 1 failed, 2 wrong arguments.\n";

// Options whose value must be one of a few words.
const std::map<std::string, std::vector<std::string>> Choices = {
    {"scene", {"box", "sphere", "casters", "crossing", "stacked", "tower", "pipe", "notch",
               "packed", "overhead", "zori", "dazu"}},
    {"renderer", {"hard", "soft"}},
    {"fbo", {"0", "1"}},
    {"cast", {"0", "1"}},
    {"shadow-raster", {"0", "1"}},
    {"english", {"0", "1"}},
};
const char* const Numbers[] = {"width", "height", "frames", "step", "shadow-light", "source"};
const char* const Texts[] = {"out", "passes", "set", "shadow-out", "timings"};

bool Known(const std::string& name)
{
    if (Choices.count(name) != 0)
        return true;
    for (const char* known : Numbers)
        if (name == known)
            return true;
    for (const char* known : Texts)
        if (name == known)
            return true;
    return false;
}

bool IsNumber(const std::string& text)
{
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0';
}

// Fills options from the arguments; on a wrong one returns its complaint.
std::string ParseArguments(int argc, char** argv, std::map<std::string, std::string>& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::string name = argument.compare(0, 2, "--") == 0 ? argument.substr(2) : "";
        if (!Known(name))
            return "unknown argument <" + argument + ">";
        if (i + 1 >= argc)
            return argument + " needs a value";
        const std::string value = argv[++i];
        const auto choice = Choices.find(name);
        if (choice != Choices.end() &&
            std::find(choice->second.begin(), choice->second.end(), value) ==
                choice->second.end())
            return "<" + value + "> is no value of " + argument;
        for (const char* number : Numbers)
            if (name == number && !IsNumber(value))
                return argument + " takes a number, not <" + value + ">";
        options[name] = value;
    }
    return std::string();
}

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(Usage, stdout);
            return 0;
        }
    std::map<std::string, std::string> options;
    const std::string wrong = ParseArguments(argc, argv, options);
    if (!wrong.empty()) {
        std::fprintf(stderr, "korvo_capture: %s\n\n%s", wrong.c_str(), Usage);
        return 2;
    }
    try {
        return Run(options);
    } catch (const Sys::Exception& e) {
        std::fprintf(stderr, "korvo_capture: %s\n", e.GetMessageText().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvo_capture: %s\n", e.what());
    }
    return 1;
}
