#pragma once

#include "config/CVars.h"
#include "gl/TextureRectangle.h"
#include "platform/Platform.h"
#include "tools/capture/TestScenes.h"
#include "tools/raytrace/RayTracer.h"
#include "world/RenderGL2.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// A suite of the renderers' tests: the render system on one hidden 640 x 480 window, with GL
// error checks and framebuffer objects on, and the reference ray tracer's view of the
// capture tool's test scenes.
class RendererSuite : public ::testing::Test {
public:
    static constexpr int Width = 640;
    static constexpr int Height = 480;

    // The overlay's four lines lie in the top left corner.
    static bool InOverlay(int x, int y) { return y >= Height - 130 && x < 400; }

    // The reference per pixel: the hard visibility of the light's centre, the object seen,
    // and (with softSamples) the visible share of a light of the scene's size.
    struct Reference {
        std::vector<float> Hard, Soft;
        std::vector<int> Objects;
    };
    static Reference Trace(const std::string& sceneName, float size, int softSamples)
    {
        Capture::TestScene scene = Capture::BuildTestScene(sceneName, size, Width, Height);
        RayTrace::Scene traced = Capture::TracedScene(scene);
        const RayTrace::Camera camera = Capture::TracedCamera(scene, Width, Height);
        RayTrace::Light light;
        light.Position = scene.Light->Position;
        light.Reach = scene.Light->Radius;
        Reference reference;
        reference.Hard = RayTrace::Visibility(traced, camera, light, 1, &reference.Objects);
        light.Radius = size;
        if (softSamples > 0)
            reference.Soft = RayTrace::Visibility(traced, camera, light, softSamples);
        return reference;
    }

    static std::vector<unsigned char> ReadRGBA(const GL::ITexture& texture, int width, int height)
    {
        std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture.GetHandle());
        glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
        return rgba;
    }

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
        windowClass.lpfnWndProc = [](Platform::HWND w, Platform::UINT m, Platform::WPARAM wp,
                                     Platform::LPARAM lp) {
            return Platform::DefWindowProcA(w, m, wp, lp);
        };
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

    static inline Platform::HWND window = nullptr;
    static inline Sys::Ptr<Korvo::IRender>* system = nullptr;
};
