#include "world/ShadowDrawing.h"

#include "gl/IProgram.h"
#include "shadow/IMeshAdjacency.h"
#include "shadow/IShadowVolume.h"
#include "world/FrameProfile.h"
#include "world/IModel.h"
#include "world/ShadowLimits.h"

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

// Counting both faces in one draw, or leaving the end open, the plane may lie across any
// axis that suits the mesh, and each of its parts may end on its own. A volume closed by far
// caps counted in two draws, each culling one side, keeps the axis to the mesh's middle:
// across the others the plane tends to be seen at a grazing angle, where the fan that closes
// the volume is all slivers, which both draws may cull (see ShadowVolume::DrawFarCaps).
void EndVolume(const IMesh& mesh, const Math::Vec3f& light, const ShadowLimits* limits,
               bool anyAxis)
{
    const VolumeEnd whole = MeshVolumeEnd(mesh, limits, anyAxis);
    IShadowVolume& volume = *mesh.GetShadowVolume();
    volume.EndAt(light, whole.Axis, whole.Distance);
    if (!EndsByParts(mesh, limits, anyAxis))
        return;
    const IMeshAdjacency& adjacency = *mesh.GetAdjacency();
    for (int part = 0; part < adjacency.GetPartCount(); ++part) {
        const VolumeEnd end = PartVolumeEnd(mesh, part, *limits, whole);
        volume.EndPartAt(part, end.Axis, end.Distance);
    }
}

// "u_FarGiven" of the volume programs: 1 where the mesh's far vertices are streamed where
// they lie, 0 where the shader sends them to infinity.
void SetFarGiven(const GL::IProgram& program, const IMesh& mesh)
{
    program.SetUniform1f("u_FarGiven", mesh.GetShadowVolume()->EndsOnPlane() ? 1.0f : 0.0f);
}

} // namespace

VolumeEnd MeshVolumeEnd(const IMesh& mesh, const ShadowLimits* limits, bool anyAxis)
{
    VolumeEnd end;
    if (limits == nullptr ||
        !limits->VolumeEnd(mesh.BoundsMin, mesh.BoundsMax, end.Axis, end.Distance, anyAxis))
        end.Distance = 0.0f;
    return end;
}

VolumeEnd PartVolumeEnd(const IMesh& mesh, int part, const ShadowLimits& limits,
                        const VolumeEnd& whole)
{
    const IMeshAdjacency& adjacency = *mesh.GetAdjacency();
    VolumeEnd end;
    if (!limits.VolumeEnd(adjacency.GetPartMin(part), adjacency.GetPartMax(part), end.Axis,
                          end.Distance, true))
        return whole;
    return end;
}

bool EndsByParts(const IMesh& mesh, const ShadowLimits* limits, bool anyAxis)
{
    return anyAxis && limits != nullptr && mesh.GetAdjacency() &&
           mesh.GetAdjacency()->GetPartCount() > 1;
}

void DrawShadowVolumeSides(const IModel& model, const Math::Vec3f& lightInModel,
                           const ShadowVolumeDrawPlan::Steps& steps, const GL::IProgram& program,
                           const ShadowLimits* limits, bool open)
{
    const Math::Vec3f& light = lightInModel;
    {
        FrameProfile::Scope timing(g_FrameProfile.Shadows);
        {
            FrameProfile::Scope lists(g_FrameProfile.Silhouettes);
            for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
                mesh->GetAdjacency()->UpdateFacing(light);
                mesh->GetAdjacency()->BuildLists(0);
            }
        }
        for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
            EndVolume(*mesh, light, limits, open || steps.Count == 1);
            mesh->GetShadowVolume()->Update(0);
        }
    }
    program.SetUniform3f("u_LightSource.Position", light.Data());
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
        SetFarGiven(program, *mesh);
        mesh->GetShadowVolume()->DrawSides(steps);
    }
}

void DrawShadowVolumeCaps(const IModel& model, bool front,
                          const ShadowVolumeDrawPlan::Steps& steps)
{
    {
        FrameProfile::Scope timing(g_FrameProfile.Shadows);
        {
            FrameProfile::Scope lists(g_FrameProfile.Silhouettes);
            for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
                mesh->GetAdjacency()->BuildLists(front ? 1 : 2);
        }
        for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
            mesh->GetShadowVolume()->Update(1);
    }
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
        mesh->GetShadowVolume()->DrawCaps(steps);
}

void DrawShadowVolumeFarCaps(const IModel& model, const Math::Vec3f& lightInModel,
                             const ShadowVolumeDrawPlan::Steps& steps, const GL::IProgram& program)
{
    program.SetUniform3f("u_LightSource.Position", lightInModel.Data());
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes) {
        SetFarGiven(program, *mesh);
        mesh->GetShadowVolume()->DrawFarCaps(steps);
    }
}

void DrawShadowWedges(const IModel& model, bool spherical,
                      const Sys::Ptr<const GL::IProgram> programs[3],
                      const ShadowVolumeDrawPlan::WedgeSteps& steps, int wedgeCount,
                      const IWedgeScissor* scissor)
{
    {
        FrameProfile::Scope timing(g_FrameProfile.Shadows);
        for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
            mesh->GetShadowVolume()->Update(spherical ? 2 : 3);
    }
    ModelMatrixScope scope(model);
    for (const Sys::Ptr<IMesh>& mesh : model.Meshes)
        mesh->GetShadowVolume()->DrawWedges(programs, steps, wedgeCount, scissor);
}

} // namespace Korvo
