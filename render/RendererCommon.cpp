#include "render/RendererCommon.h"

#include "config/CVars.h"
#include "gl/DriverDesc.h"
#include "gl/IFont.h"
#include "gl/IRenderDevice.h"
#include "gl/Program.h"
#include "media/ShaderLoader.h"
#include "render/OverlayText.h"

#include <GL/glew.h>

namespace Korvo {
namespace RendererCommon {

Sys::Ptr<GL::IProgram> LoadProgram(const ProgramSource& source)
{
    Sys::Ptr<const GL::IShader> vertex =
        g_ShaderLoader->LoadVertexShader(source.Vertex, source.VertexDefine);
    Sys::Ptr<const GL::IShader> fragment;
    if (source.Fragment != nullptr)
        fragment = g_ShaderLoader->LoadFragmentShader(source.Fragment,
                                                             source.FragmentDefine);
    Sys::Ptr<GL::Program> program(new GL::Program());
    program->AttachShader(vertex);
    if (fragment)
        program->AttachShader(fragment);
    for (const auto& attribute : source.Attributes)
        program->BindAttribute(attribute.first, attribute.second);
    program->Link();
    return program;
}

const std::string& AmbientUniform(int light, int field)
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        for (int i = 0; i < 6; ++i) {
            const std::string prefix = "u_LightSource[" + std::to_string(i) + "].";
            all.push_back(prefix + "Position");
            all.push_back(prefix + "Radius");
            all.push_back(prefix + "AmbientColor");
        }
        return all;
    }();
    return names[3 * light + field];
}

void DrawAmbientLights(const GL::IProgram& program,
                       const std::vector<Sys::Ptr<const IPointLightSource>>& lights,
                       const IModel* world, const std::vector<Sys::Ptr<IModel>>& models)
{
    static const float ambient[3] = {0.02f, 0.02f, 0.02f};
    static const float white[3] = {1.0f, 1.0f, 1.0f};
    program.SetUniform3f("u_AmbientColor", ambient);
    const int count = static_cast<int>(lights.size());
    for (int i = 0; i < count; ++i) {
        program.SetUniform1f(AmbientUniform(i, 1), lights[i]->Radius);
        program.SetUniform3f(AmbientUniform(i, 2), lights[i]->AmbientColor.Data());
    }
    for (const Sys::Ptr<IModel>& model : models) {
        for (int i = 0; i < count; ++i) {
            const Math::Vec3f light = model->ToModelSpace(lights[i]->Position);
            program.SetUniform3f(AmbientUniform(i, 0), light.Data());
        }
        program.SetUniform3f("u_Material.DiffuseColor", white);
        model->DrawModel();
    }
    if (world != nullptr) {
        // The world is lit as if its model matrix were the identity.
        for (int i = 0; i < count; ++i)
            program.SetUniform3f(AmbientUniform(i, 0), lights[i]->Position.Data());
        program.SetUniform3f("u_Material.DiffuseColor", white);
        world->DrawModel();
    }
}

void DrawLightMarker(const IPointLightSource& light, Sys::Ptr<const GL::IProgram> colorProgram)
{
    GL::Device->SetProgram(colorProgram);
    glDepthFunc(GL_LESS);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glColor4f(1.0f, 1.0f, 0.0f, 0.5f);
    light.DrawMarker();
    glDisable(GL_POINT_SMOOTH);
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_BLEND);
}

void DrawOverlay(const GL::IFont& font, int width, int height, int framesPerSecond,
                 int frameWidth, int frameHeight, bool framebufferObjects)
{
    glPushAttrib(GL_TRANSFORM_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    const bool english = gui_English.value;
    const int demo = demo_ID.value;
    const OverlayLine* line = &OverlayText::Get(OverlayText::Videocard, english, demo);
    glColor4fv(line->Color);
    font.Printf(OverlayText::Left, height - line->OffsetFromTop, line->Format,
                GL::Driver->Renderer.c_str());
    line = &OverlayText::Get(OverlayText::Framebuffer, english, demo);
    glColor4fv(line->Color);
    font.Printf(OverlayText::Left, height - line->OffsetFromTop, line->Format, frameWidth,
                frameHeight, OverlayText::PathName(framebufferObjects));
    line = &OverlayText::Get(OverlayText::FramesPerSecond, english, demo);
    glColor4fv(line->Color);
    font.Printf(OverlayText::Left, height - line->OffsetFromTop, line->Format, framesPerSecond);
    line = &OverlayText::Get(OverlayText::Demoscene, english, demo);
    glColor4fv(line->Color);
    font.Print(OverlayText::Left, height - line->OffsetFromTop, line->Format);

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
}

void DrawTargetQuad(int width, int height)
{
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glBegin(GL_QUADS);
    glVertex2i(0, 0);
    glVertex2i(width, 0);
    glVertex2i(width, height);
    glVertex2i(0, height);
    glEnd();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

} // namespace RendererCommon
} // namespace Korvo
