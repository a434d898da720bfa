// Compares the soft renderer's shadow value of one light in a demo scene with a ray-traced
// reference of the same frame: runs the scene with a fixed time step, keeps the light's
// shadow value of the last frame, traces the visible share of the light's sphere over the
// scene's geometry as it stood in that frame, prints the error figures and writes a
// picture of the error. Exits 0 when the figures are within the limits, 1 when they are
// not (or the run failed), 2 for a wrong command line.

#include "app/Exception.h"
#include "config/CVars.h"
#include "gl/TextureRectangle.h"
#include "render/RendererEx.h"
#include "tools/capture/CaptureSetup.h"
#include "tools/capture/FixedStepDemo.h"
#include "tools/capture/PngFile.h"
#include "tools/raytrace/ShadowFigures.h"
#include "tools/shadowref/SceneGeometry.h"
#include "world/IViewer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* const Usage =
    "usage: korvo_shadowref --scene zori|dazu --light N [--frames 30] [--step 100]\n"
    "                       [--width 320] [--height 240] [--set r_Name=value,...]\n"
    "                       [--diff difference.png] [--downsample]\n"
    "                       [--max-bad-share 0.05] [--max-umbra-error 0.1] [--max-error 0.6]\n"
    "\n"
    "Runs the scene with the soft-shadow renderer for the given number of frames of a fixed\n"
    "step (milliseconds), then compares light N's shadow value of the last frame with a\n"
    "ray-traced reference over the scene's geometry at the render size. Prints the error\n"
    "figures; --diff writes the error as a picture (red: too bright, blue: too dark, grey:\n"
    "left out). --set cannot change the render size, the renderer, framebuffer objects or\n"
    "the GL error checks, which the comparison needs as they are.\n"
    "\n"
    "Exit status: 0 within the limits (pixels off by more than 0.25 below --max-bad-share\n"
    "percent, 0.05 unless given; largest error in full umbra at most --max-umbra-error, 0.1\n"
    "unless given; largest error of any pixel compared at most --max-error, 0.6 unless\n"
    "given), 1 outside them or when the run failed, 2 for a wrong command line or a light the\n"
    "scene does not have.\n";

// Rays per axis for the soft reference (16 x 16 over the light's sphere).
constexpr int ReferenceSamples = 16;

// A command line the tool cannot run; exit status 2.
struct UsageError : std::runtime_error {
    explicit UsageError(const std::string& text) : std::runtime_error(text) {}
};

struct Options {
    std::string Scene;
    int Light = -1;
    int Frames = 30;
    int Step = 100;
    int Width = 320;
    int Height = 240;
    std::string Settings;
    std::string Diff;
    bool Downsample = false;
    bool Help = false;
    // The limits the error figures must keep.
    double BadShareLimit = 0.0005;
    float UmbraLimit = 0.1f;
    // A single speck of light in a shadow, or of shadow in the light, is off by about 1;
    // a pixel on a hard edge that rounding puts on the other side by about 0.5, and those
    // lie in the band left out.
    float WorstLimit = 0.6f;
};

double ParseFraction(const std::string& name, const std::string& text, double high)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value >= 0.0 && value <= high))
        throw UsageError("--" + name + " takes a number from 0 to " + std::to_string(high) +
                         ", not <" + text + ">");
    return value;
}

int ParseCount(const std::string& name, const std::string& text, int low, int high)
{
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < low || value > high)
        throw UsageError("--" + name + " takes a whole number from " + std::to_string(low) +
                         " to " + std::to_string(high) + ", not <" + text + ">");
    return static_cast<int>(value);
}

Options Parse(int argc, char** argv)
{
    Options options;
    std::map<std::string, std::string> seen;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.compare(0, 2, "--") != 0)
            throw UsageError("unexpected <" + arg + ">");
        const std::string name = arg.substr(2);
        if (seen.count(name) != 0)
            throw UsageError(arg + " given twice");
        if (name == "help" || name == "downsample") {
            seen[name] = "";
            (name == "help" ? options.Help : options.Downsample) = true;
            continue;
        }
        static const char* const valued[] = {"scene",  "light", "frames", "step",
                                             "width",  "height", "set",   "diff",
                                             "max-bad-share", "max-umbra-error", "max-error"};
        if (std::find_if(std::begin(valued), std::end(valued), [&name](const char* known) {
                return name == known;
            }) == std::end(valued))
            throw UsageError("unknown option <" + arg + ">");
        if (i + 1 >= argc)
            throw UsageError(arg + " needs a value");
        seen[name] = argv[++i];
    }
    if (options.Help)
        return options;
    for (const auto& [name, value] : seen) {
        if (name == "scene")
            options.Scene = value;
        else if (name == "light")
            options.Light = ParseCount(name, value, 0, 99);
        else if (name == "frames")
            options.Frames = ParseCount(name, value, 1, 100000);
        else if (name == "step")
            options.Step = ParseCount(name, value, 0, 10000);
        else if (name == "width")
            options.Width = ParseCount(name, value, 16, 4096);
        else if (name == "height")
            options.Height = ParseCount(name, value, 16, 4096);
        else if (name == "set")
            options.Settings = value;
        else if (name == "diff")
            options.Diff = value;
        else if (name == "max-bad-share")
            options.BadShareLimit = ParseFraction(name, value, 100.0) / 100.0;
        else if (name == "max-umbra-error")
            options.UmbraLimit = static_cast<float>(ParseFraction(name, value, 1.0));
        else if (name == "max-error")
            options.WorstLimit = static_cast<float>(ParseFraction(name, value, 1.0));
    }
    if (options.Scene != "zori" && options.Scene != "dazu")
        throw UsageError("--scene zori or --scene dazu needed");
    if (options.Light < 0)
        throw UsageError("--light needed");
    return options;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The kept shadow value (alpha) at every pixel of the picture: with downsampling each
// texel covers 2 x 2 pixels, read as the lighting pass reads it (nearest texel).
std::vector<float> DrawnShadow(const GL::TextureRectangle& texture, int width, int height)
{
    const std::vector<unsigned char> rgba = Capture::ReadTexture(texture);
    const int shadowWidth = texture.GetWidth(), shadowHeight = texture.GetHeight();
    const int shift = shadowWidth == width ? 0 : 1;
    std::vector<float> drawn(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int tx = std::min(x >> shift, shadowWidth - 1);
            const int ty = std::min(y >> shift, shadowHeight - 1);
            drawn[static_cast<size_t>(y) * width + x] =
                rgba[(static_cast<size_t>(ty) * shadowWidth + tx) * 4 + 3] / 255.0f;
        }
    return drawn;
}

int Run(const Options& options)
{
    try {
        Capture::ApplySettings(options.Settings);
    } catch (const Sys::Exception& e) {
        throw UsageError(e.GetMessageText());
    }
    if (options.Downsample)
        r_Shadow_Downsample.value = true;
    // Set directly, past the configuration's range, so that the picture and the reference
    // share their pixels.
    r_Screen_Width.value = options.Width;
    r_Screen_Height.value = options.Height;
    r_Screen_Full.value = false;
    r_Shadow_PenumbraWedges.value = true;
    r_GL_FramebufferObject.value = true;
    r_GL_CatchErrors.value = true;
    const bool downsample = r_Shadow_Downsample.value;

    // The window outlives the scene and goes on every way out, refusals included.
    struct Window {
        Platform::HWND Handle;
        ~Window()
        {
            if (Handle != nullptr)
                Platform::DestroyWindow(Handle);
        }
    } window{Capture::OpenWindow("Korvo Shadow Reference")};
    if (window.Handle == nullptr) {
        std::fprintf(stderr, "korvo_shadowref: no window (is DISPLAY set?)\n");
        return 1;
    }
    int status = 1;
    {
        Capture::FixedStepDemo demo(options.Scene, window.Handle, options.Step);
        const Korvo::WorldRenderer& world = *demo.GetWorld();
        const auto lights = world.GetRenderedLightSources();
        if (options.Light >= static_cast<int>(lights.size()))
            throw UsageError("scene " + options.Scene + " has " +
                             std::to_string(lights.size()) + " light(s), no light " +
                             std::to_string(options.Light));
        auto renderer = Sys::Ptr<Korvo::RendererEx>::DynamicFrom(demo.GetRenderer());
        if (!renderer)
            throw Sys::Exception("The scene did not get the soft-shadow renderer.");
        renderer->KeepShadowTexture(options.Light);
        const auto renderStart = std::chrono::steady_clock::now();
        for (int i = 0; i < options.Frames; ++i)
            demo.Step();
        const std::vector<float> drawn =
            DrawnShadow(*renderer->GetKeptShadowTexture(), options.Width, options.Height);
        const double renderSeconds = SecondsSince(renderStart);

        const auto traceStart = std::chrono::steady_clock::now();
        RayTrace::Scene seen = ShadowRef::SeenSurfaces(world);
        const Korvo::IPointLightSource& light = *lights[options.Light];
        RayTrace::Scene occluders = ShadowRef::LightOccluders(light);
        RayTrace::Camera camera;
        camera.View = world.GetViewer()->GetViewMatrix();
        camera.Projection = world.GetViewer()->GetProjectionMatrix();
        camera.Width = options.Width;
        camera.Height = options.Height;
        RayTrace::Light sphere;
        sphere.Position = light.Position;
        sphere.Reach = light.Radius;
        std::vector<int> objects;
        const std::vector<float> hard =
            RayTrace::Visibility(seen, camera, sphere, 1, &objects, &occluders);
        sphere.Radius = light.GetSourceSize();
        const std::vector<float> soft =
            RayTrace::Visibility(seen, camera, sphere, ReferenceSamples, nullptr, &occluders);
        const double traceSeconds = SecondsSince(traceStart);

        // The band along the hard edges widens with the shadow passes' coarser pixels.
        const int band = downsample ? 2 : 1;
        const RayTrace::ShadowFigures figures = RayTrace::MeasureShadow(
            soft, hard, objects, drawn, options.Width, options.Height, band);
        std::printf("%s light %d, frame %d at %d ms steps, %dx%d%s: %s\n",
                    options.Scene.c_str(), options.Light, options.Frames, options.Step,
                    options.Width, options.Height, downsample ? " downsampled" : "",
                    figures.Describe().c_str());
        std::printf("render %.1f s, trace %.1f s (%zu seen and %zu occluding triangles)\n",
                    renderSeconds, traceSeconds, seen.Triangles.size(),
                    occluders.Triangles.size());

        if (!options.Diff.empty()) {
            const std::vector<unsigned char> rgb = RayTrace::DifferenceImage(
                soft, hard, objects, drawn, options.Width, options.Height, band);
            // The picture runs from the top; the PNG writer takes rows from the bottom.
            std::vector<unsigned char> rgba(rgb.size() / 3 * 4, 255);
            for (int y = 0; y < options.Height; ++y)
                for (int x = 0; x < options.Width; ++x)
                    for (int c = 0; c < 3; ++c)
                        rgba[(static_cast<size_t>(options.Height - 1 - y) * options.Width +
                              x) * 4 + c] =
                            rgb[(static_cast<size_t>(y) * options.Width + x) * 3 + c];
            if (!Capture::WritePng(options.Diff, options.Width, options.Height, rgba))
                throw Sys::Exception("Failed to write <%s>.", options.Diff.c_str());
        }

        if (figures.Receivers == 0) {
            std::printf("FAILED: no pixel to compare\n");
        } else if (figures.BadShare >= options.BadShareLimit ||
                   figures.UmbraWorst > options.UmbraLimit || figures.Worst > options.WorstLimit) {
            std::printf("FAILED: limits are pixels off by more than 0.25 below %.3f %%, "
                        "umbra worst at most %.2f and worst at most %.2f\n",
                        100.0 * options.BadShareLimit, options.UmbraLimit, options.WorstLimit);
        } else {
            status = 0;
        }
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    try {
        options = Parse(argc, argv);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "korvo_shadowref: %s (--help shows the usage)\n", e.what());
        return 2;
    }
    if (options.Help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    try {
        return Run(options);
    } catch (const UsageError& e) {
        std::fprintf(stderr, "korvo_shadowref: %s\n", e.what());
        return 2;
    } catch (const Sys::Exception& e) {
        std::fprintf(stderr, "korvo_shadowref: %s\n", e.GetMessageText().c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvo_shadowref: %s\n", e.what());
    }
    return 1;
}
