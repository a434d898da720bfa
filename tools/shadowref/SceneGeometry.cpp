#include "tools/shadowref/SceneGeometry.h"

#include "media/MeshMD5.h"

namespace ShadowRef {

namespace {

void AddMeshes(RayTrace::Scene& scene, const Korvo::IModel& model)
{
    // The meshes keep model-space positions; the model matrix places them.
    const Math::Mat4 place = model.GetModelMatrix();
    std::vector<RayTrace::Triangle> triangles;
    for (const Sys::Ptr<Korvo::IMesh>& mesh : model.Meshes) {
        const auto skinned = Sys::Ptr<Korvo::MeshMD5>::DynamicFrom(mesh);
        const std::vector<Math::Vec3f>& positions =
            skinned ? skinned->GetSkinnedPositions() : mesh->GetPositions();
        triangles.clear();
        for (const Korvo::IMesh::Triangle& t : mesh->GetTriangles())
            triangles.push_back({place.TransformPoint(positions[t[0]]),
                                 place.TransformPoint(positions[t[1]]),
                                 place.TransformPoint(positions[t[2]])});
        scene.AddObject(triangles);
    }
}

} // namespace

RayTrace::Scene SeenSurfaces(const Korvo::WorldRenderer& world)
{
    RayTrace::Scene scene;
    if (world.GetWorld())
        AddMeshes(scene, *world.GetWorld());
    for (const Sys::Ptr<Korvo::IModel>& model : world.GetModels())
        AddMeshes(scene, *model);
    scene.Build();
    return scene;
}

RayTrace::Scene LightOccluders(const Korvo::IPointLightSource& light)
{
    // The soft renderer draws volumes and wedges for the depth-fail casters only.
    RayTrace::Scene scene;
    for (const Sys::Ptr<Korvo::IModel>& caster : light.ZFailCasters)
        if (caster->ShadowCaster)
            AddMeshes(scene, *caster);
    scene.Build();
    return scene;
}

} // namespace ShadowRef
