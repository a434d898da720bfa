#include "world/ShadowDrawing.h"

#include "gl/IProgram.h"
#include "shadow/IMeshAdjacency.h"
#include "shadow/IShadowVolume.h"
#include "world/FrameProfile.h"
#include "world/IModel.h"

#include <GL/glew.h>

namespace Korvo {

namespace {

// Every mesh's shadow geometry is drawn inside the model matrix.
class ModelMatrixScope {
public:
    explicit ModelMatrixScope(const IModel& model)
    {
        const Math::Mat4 matrix = model.GetModelMatrix();
        glPushMatrix();
        glMultMatrixf(matrix.Data());
    }
    ~ModelMatrixScope() { glPopMatrix(); }
};

} // namespace

void DrawShadowVolumeSides(const IModel& model, const Math::Vec3f& lightInModel, int mode,
                           const GL::IProgram& program)
{
    const Math::Vec3f& light = lightInModel;
    {
        FrameProfile::Scope timing(g_FrameProfile.Shadows);
        for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
            mesh->GetAdjacency()->UpdateFacing(light);
            mesh->GetAdjacency()->BuildLists(0);
            mesh->GetShadowVolume()->Update(0);
        }
    }
    program.SetUniform3f("u_LightSource.Position", light.Data());
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
        mesh->GetShadowVolume()->DrawSides(mode);
}

void DrawShadowVolumeCaps(const IModel& model, bool front, int mode)
{
    {
        FrameProfile::Scope timing(g_FrameProfile.Shadows);
        for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
            mesh->GetAdjacency()->BuildLists(front ? 1 : 2);
            mesh->GetShadowVolume()->Update(1);
        }
    }
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
        if (front)
            mesh->GetShadowVolume()->DrawCaps(mode);
        else
            mesh->GetShadowVolume()->DrawCapsReversed(mode);
    }
}

void DrawShadowVolumeFarCaps(const IModel& model, const Math::Vec3f& lightInModel,
                             const GL::IProgram& program)
{
    program.SetUniform3f("u_LightSource.Position", lightInModel.Data());
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
        mesh->GetShadowVolume()->DrawCapsPlain();
}

void DrawShadowWedges(const IModel& model, bool spherical,
                      const Sys::Ptr<const GL::IProgram> programs[3])
{
    {
        FrameProfile::Scope timing(g_FrameProfile.Shadows);
        for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
            mesh->GetShadowVolume()->Update(spherical ? 2 : 3);
    }
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
        mesh->GetShadowVolume()->DrawWedges(programs);
}

} // namespace Korvo
