#include "render/WorldRenderer.h"

#include "config/CVars.h"
#include "gl/IFrameBuffer.h"
#include "gl/IRenderDevice.h"
#include "gl/ITexture.h"
#include "platform/Platform.h"
#include "render/IRenderer.h"
#include "render/Renderer.h"
#include "render/RendererEx.h"
#include "world/FrameProfile.h"
#include "world/IViewer.h"

#include <GL/glew.h>

namespace Korvo {

namespace {

Sys::Ptr<IRenderer> MakeRenderer()
{
    if (r_Shadow_PenumbraWedges.value)
        return Sys::Ptr<IRenderer>(new RendererEx());
    return Sys::Ptr<IRenderer>(new Renderer());
}

} // namespace

WorldRenderer::WorldRenderer() : Renderer(MakeRenderer()) {}

WorldRenderer::WorldRenderer(Sys::Ptr<IRenderer> renderer) : Renderer(renderer) {}

WorldRenderer::~WorldRenderer() = default;

void WorldRenderer::SetWorld(Sys::Ptr<IModel> world)
{
    World = world;
    World->ShadowCaster = false;
}

void WorldRenderer::AddModel(Sys::Ptr<IModel> model) { Models.push_back(model); }

void WorldRenderer::AddLightSource(Sys::Ptr<IPointLightSource> light)
{
    PointLights.push_back(light);
}

void WorldRenderer::AddRenderedLightSource(Sys::Ptr<const IPointLightSource> light)
{
    RenderedLights.push_back(light);
}

void WorldRenderer::SetViewer(Sys::Ptr<IViewer> viewer) { Viewer = viewer; }

void WorldRenderer::Render(float elapsed)
{
    if (PointLights.empty())
        return;
    {
        FrameProfile::Scope scope(g_FrameProfile.Animation);
        for (const Sys::Ptr<IModel>& model : Models)
            model->Animate(elapsed);
    }
    {
        FrameProfile::Scope scope(g_FrameProfile.Lights);
        for (const Sys::Ptr<IPointLightSource>& light : PointLights)
            light->CollectModelsInRange(Models);
    }
    Renderer->SetLightSources(RenderedLights);
    Renderer->Render(Viewer, World, Models);
    Present();
}

void WorldRenderer::Present()
{
    const int width = r_Screen_Width.value;
    const int height = r_Screen_Height.value;
    GL::Device->SetFrameBuffer(GL::Device->PrimaryFrameBuffer);
    // The picture covers the whole window, whatever size it was given: a window manager
    // may resize it, and a full-screen mode may be larger than the picture.
    Platform::RECT client;
    client.right = width;
    client.bottom = height;
    Platform::GetClientRect(Platform::WindowFromDC(Platform::wglGetCurrentDC()), &client);
    glViewport(0, 0, client.right > 0 ? client.right : width,
               client.bottom > 0 ? client.bottom : height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The window's alpha is left alone; nothing is tested.
    GL::Device->SetRasterState(GL::RasterState().Colors(true, true, true, false));
    glClearColor(0, 1, 1, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    GL::Device->SetProgram(Sys::Ptr<const GL::IProgram>());
    GL::Device->SetTexture(GL_TEXTURE0, Renderer->GetColorTexture());
    // Rectangle textures are addressed in pixels.
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex2i(0, 0);
    glTexCoord2i(width, 0);
    glVertex2i(width, 0);
    glTexCoord2i(width, height);
    glVertex2i(width, height);
    glTexCoord2i(0, height);
    glVertex2i(0, height);
    glEnd();
    GL::Device->SetTexture(GL_TEXTURE0, Sys::Ptr<const GL::ITexture>());
    GL::Device->SetRasterState(GL::RasterState());
    GL::Device->PrimaryFrameBuffer->SwapBuffers();
}

} // namespace Korvo
