#include "world/OmniLightSource.h"

#include "app/DeveloperException.h"
#include "gl/IProgram.h"

#include <GL/glew.h>

#include <algorithm>
#include <cmath>

namespace Korvo {

namespace {

// True when the box and the sphere share a point: the box point nearest to the centre
// lies within the radius.
bool BoxTouchesSphere(const Math::Vec3f& boxMin, const Math::Vec3f& boxMax,
                      const Math::Vec3f& centre, float radius)
{
    float distanceSquared = 0.0f;
    for (int i = 0; i < 3; ++i) {
        const float nearest = std::clamp(centre[i], boxMin[i], boxMax[i]);
        const float d = centre[i] - nearest;
        distanceSquared += d * d;
    }
    return distanceSquared <= radius * radius;
}

// One 16-segment unit circle in the xy plane of the current matrix.
void DrawCircle()
{
    const float step = 2.0f * 3.14159265f / 16.0f;
    glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 16; ++i)
        glVertex3f(std::cos(step * i), std::sin(step * i), 0.0f);
    glEnd();
}

} // namespace

void OmniLightSource::DrawMarker() const
{
    glPushMatrix();
    glTranslatef(Position.x, Position.y, Position.z);
    glScalef(SourceSize, SourceSize, SourceSize);
    DrawCircle();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    DrawCircle();
    glRotatef(90.0f, 0.0f, 1.0f, 0.0f);
    DrawCircle();
    glPopMatrix();
}

void OmniLightSource::CollectModelsInRange(const std::vector<Sys::Ptr<IModel>>& models)
{
    ModelsInRange.clear();
    if (Radius <= 0.0f)
        return;
    for (const Sys::Ptr<IModel>& model : models) {
        // Boxes are in model space: bring the light there rather than moving eight corners.
        const Math::Vec3f light = model->ToModelSpace(Position);
        const int count = model->GetNumMeshes();
        for (int i = 0; i < count; ++i) {
            const Sys::Ptr<IMesh> mesh = model->GetMesh(i);
            if (BoxTouchesSphere(mesh->BoundsMin, mesh->BoundsMax, light, Radius))
                ModelsInRange.push_back(model);
        }
    }
}

void OmniLightSource::SetUniforms(const GL::IProgram& program, const Math::Mat4& toModel,
                                  int mode) const
{
    if (mode != UniformsWithWorldPosition && mode != UniformsInModelSpace)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_ENUM,
                                      "Unknown <Mode> parameter.");
    const Math::Vec3f position = toModel.TransformPoint(Position);
    program.SetUniform3f("u_LightSource.Position", position.Data());
    if (mode == UniformsWithWorldPosition)
        program.SetUniform3f("u_LightSource.WorldPosition", Position.Data());
    program.SetUniform1f("u_LightSource.Radius", SourceSize);
    // The wedge shaders widen their planes by this share of the source size.
    program.SetUniform1f("u_LightSource.ScaledRadius", 0.4f * SourceSize);
    program.SetUniform1f("u_LightSource.InvRadius", 1.0f / SourceSize);
}

} // namespace Korvo
