// The CPU side of one frame of each demo scene, by phase, against the whole frame on the
// machine's OpenGL. Needs an X display: DISPLAY, or run it under
// `tests/with-display.sh --own <folder> build/bench_frame_cpu`, which starts Xvfb.
//
// Frame/<scene>/<renderer>/<mode>: one iteration is one frame of the scene with a fixed step
// of 20 ms at 640 x 480, through the scene's own frame call (movers, cameras, world render,
// present).
//  - mode "full": the frame up to the end of glFinish, as the demo runs it: llvmpipe's
//    rasterizing included.
//  - mode "cpu": the same frame with GL_RASTERIZER_DISCARD on, timed as the CPU time of the
//    calling thread up to the return of the frame call; glFinish runs outside the timing.
//    No pixel is rasterized, and llvmpipe's rasterizer threads do not count, so what is
//    left is our own code and what the GL implementation does on our thread: state
//    validation, llvmpipe's vertex processing (the draw module runs vertex shaders on the
//    calling thread), pixel copies and reads, and the copy of the window at the swap. It is
//    an upper bound of our own CPU time.
// The counters give the phases in milliseconds per frame (world/FrameProfile.h, wall-clock
// time): skinning (skeletal animation and skinning), lights (models in range of each
// light), silhouettes (facing tests, silhouette and cap lists), volume_fill (shadow-volume
// and wedge geometry), and submission: the rest of the frame's time, issuing the passes
// and presenting.
//
// Overlay/<lists|cache>: the renderer's text overlay pass at 640 x 480 up to glFinish, as it
// was (the font's per-glyph display lists, formatted every frame) and as it is (lines
// formatted on change, each drawn from its cached buffer).

#include "app/Exception.h"
#include "config/CVars.h"
#include "gl/DriverDesc.h"
#include "gl/IRenderDevice.h"
#include "gl/OutlineFont.h"
#include "gl/TextGeometryCache.h"
#include "media/ShaderLoader.h"
#include "render/OverlayLines.h"
#include "render/OverlayText.h"
#include "render/RendererCommon.h"
#include "tools/capture/CaptureSetup.h"
#include "tools/capture/FixedStepDemo.h"
#include "world/FrameProfile.h"

#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

namespace {

constexpr int StepMs = 20;
constexpr int WarmUpFrames = 10;

// A window of its own for each scene: a window's pixel format is set once.
class Window {
public:
    Window() : handle(Capture::OpenWindow("Korvo Frame Benchmark"))
    {
        if (handle == nullptr)
            throw Sys::Exception("No window (is DISPLAY set?).");
    }
    ~Window() { Platform::DestroyWindow(handle); }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    Platform::HWND handle;
};

// CPU time of the calling thread: llvmpipe's rasterizer threads and the time the thread
// waits for a core (the machine may be shared) do not count.
double ThreadMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// The shader loader keeps the shaders of the scene's context, so it starts afresh when the
// scene ends, before the scene goes (as the program ends it).
struct FreshShaderLoader {
    ~FreshShaderLoader()
    {
        g_ShaderLoader = Sys::Ptr<Media::ShaderLoader>(new Media::ShaderLoader());
    }
};

double Milliseconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

void Frame(benchmark::State& state, const char* scene, bool soft, bool cpuOnly)
{
    r_Shadow_PenumbraWedges.value = soft;
    Window window;
    Capture::FixedStepDemo demo(scene, window.handle, StepMs);
    FreshShaderLoader loader;
    for (int i = 0; i < WarmUpFrames; ++i)
        demo.Step();
    glFinish();

    Korvo::FrameProfile sum;
    double frames = 0;
    double total = 0;
    for (auto _ : state) {
        Korvo::g_FrameProfile = Korvo::FrameProfile();
        if (cpuOnly)
            glEnable(GL_RASTERIZER_DISCARD);
        const auto start = std::chrono::steady_clock::now();
        const double threadStart = ThreadMilliseconds();
        demo.Step();
        if (!cpuOnly)
            glFinish();
        const double ms = cpuOnly ? ThreadMilliseconds() - threadStart
                                  : Milliseconds(std::chrono::steady_clock::now() - start);
        if (cpuOnly) {
            glDisable(GL_RASTERIZER_DISCARD);
            glFinish();
        }
        state.SetIterationTime(ms / 1000.0);
        const Korvo::FrameProfile& p = Korvo::g_FrameProfile;
        sum.Animation += p.Animation;
        sum.Lights += p.Lights;
        sum.Shadows += p.Shadows;
        sum.Silhouettes += p.Silhouettes;
        total += ms;
        ++frames;
    }
    if (frames == 0)
        return;
    const double perFrame = 1000.0 / frames;
    state.counters["skinning"] = sum.Animation * perFrame;
    state.counters["lights"] = sum.Lights * perFrame;
    state.counters["silhouettes"] = sum.Silhouettes * perFrame;
    state.counters["volume_fill"] = (sum.Shadows - sum.Silhouettes) * perFrame;
    state.counters["submission"] =
        total / frames - (sum.Animation + sum.Lights + sum.Shadows) * perFrame;
}

// The overlay as it was drawn before its lines were cached: every line formatted and
// printed glyph by glyph through the font's display lists.
void PrintThroughLists(const GL::IFont& font, int height, int framesPerSecond)
{
    using Korvo::OverlayText;
    const Korvo::OverlayLine* line = &OverlayText::Get(OverlayText::Videocard, true, 0);
    glColor4fv(line->Color);
    font.Printf(OverlayText::Left, height - line->OffsetFromTop, line->Format,
                GL::Driver->Renderer.c_str());
    line = &OverlayText::Get(OverlayText::Framebuffer, true, 0);
    glColor4fv(line->Color);
    font.Printf(OverlayText::Left, height - line->OffsetFromTop, line->Format, 640, 480,
                OverlayText::PathName(true));
    line = &OverlayText::Get(OverlayText::FramesPerSecond, true, 0);
    glColor4fv(line->Color);
    font.Printf(OverlayText::Left, height - line->OffsetFromTop, line->Format, framesPerSecond);
    line = &OverlayText::Get(OverlayText::Demoscene, true, 0);
    glColor4fv(line->Color);
    font.Print(OverlayText::Left, height - line->OffsetFromTop, line->Format);
}

void Overlay(benchmark::State& state, bool cached)
{
    using namespace Korvo::RendererCommon;
    r_Shadow_PenumbraWedges.value = false;
    gui_English.value = true;
    demo_ID.value = 0;
    // The demo brings the render system up; the overlay draws over its window.
    Window window;
    Capture::FixedStepDemo demo("zori", window.handle, StepMs);
    FreshShaderLoader loader;
    demo.Step();
    GL::IRenderDevice& device = *GL::Device;
    device.SetFrameBuffer(device.PrimaryFrameBuffer);
    glViewport(0, 0, 640, 480);
    VertexFormats formats;
    formats.Compile();
    Sys::Ptr<GL::IProgram> program =
        LoadProgram({"Shaders/Common/ColorTransform.vsh", nullptr, "", "", PositionAttributes});
    Sys::Ptr<GL::OutlineFont> font(new GL::OutlineFont("Arial", 0.0f, 0.0f));
    GL::TextGeometryCache text(font);
    Korvo::OverlayLines lines;
    glFinish();

    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (cached) {
            DrawOverlayPass(device, formats, program, lines, text, 640, 480, 17, 640, 480, true);
        } else {
            device.SetProgram(program);
            device.SetVertexFormat(formats.Position);
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_STENCIL_TEST);
            glEnable(GL_CULL_FACE);
            glCullFace(GL_BACK);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_POLYGON_SMOOTH);
            glMatrixMode(GL_PROJECTION);
            glPushMatrix();
            glLoadIdentity();
            glOrtho(0, 640, 0, 480, -1, 1);
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            glLoadIdentity();
            PrintThroughLists(*font, 480, 17);
            glMatrixMode(GL_PROJECTION);
            glPopMatrix();
            glMatrixMode(GL_MODELVIEW);
            glPopMatrix();
            glDisable(GL_POLYGON_SMOOTH);
            glDisable(GL_BLEND);
        }
        glFinish();
        state.SetIterationTime(Milliseconds(std::chrono::steady_clock::now() - start) / 1000.0);
    }
    device.SetVertexAttributes(nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    r_Screen_Width.value = 640;
    r_Screen_Height.value = 480;
    r_Screen_Full.value = false;
    r_GL_FramebufferObject.value = true;
    for (const char* scene : {"zori", "dazu"}) {
        for (bool soft : {false, true}) {
            for (bool cpuOnly : {true, false}) {
                const std::string name = std::string("Frame/") + scene + (soft ? "/soft" : "/hard") +
                                         (cpuOnly ? "/cpu" : "/full");
                benchmark::RegisterBenchmark(name.c_str(), Frame, scene, soft, cpuOnly)
                    ->UseManualTime()
                    ->Unit(benchmark::kMillisecond)
                    ->Iterations(cpuOnly ? (soft ? 100 : 500) : (soft ? 20 : 60));
            }
        }
    }
    for (bool cached : {false, true})
        benchmark::RegisterBenchmark(cached ? "Overlay/cache" : "Overlay/lists", Overlay, cached)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond)
            ->Iterations(200);
    int status = 0;
    try {
        benchmark::RunSpecifiedBenchmarks();
    } catch (const Sys::Exception& e) {
        std::fprintf(stderr, "bench_frame_cpu: %s\n", e.GetMessageText().c_str());
        status = 1;
    }
    benchmark::Shutdown();
    return status;
}
