#include "game/DemoSetup.h"

#include "config/CVars.h"
#include "io/DataFolder.h"
#include "media/Mesh3DS.h"
#include "media/ModelLoader3DS.h"
#include "world/Model3DS.h"

namespace Game {

void LoadSet(const std::vector<const char*>& propFiles, const char* levelFile,
             std::vector<Sys::Ptr<Korvo::IModel>>& props, Sys::Ptr<Korvo::IModel>& level)
{
    Sys::Ptr<Media::ModelLoader3DS> loader(new Media::ModelLoader3DS());
    for (const char* file : propFiles) {
        std::vector<Sys::Ptr<Korvo::Mesh3DS>> meshes;
        loader->Load(IO::DataFolder::Find(file), true, meshes);
        props.push_back(Sys::Ptr<Korvo::Model3DS>(new Korvo::Model3DS(meshes)));
    }
    std::vector<Sys::Ptr<Korvo::Mesh3DS>> levelMeshes;
    loader->Load(IO::DataFolder::Find(levelFile), false, levelMeshes);
    level = Sys::Ptr<Korvo::Model3DS>(new Korvo::Model3DS(levelMeshes));
}

Sys::Ptr<Korvo::OmniLightSource> MakeLight(float radius, float sourceSize,
                                           const Math::Vec3f& diffuse,
                                           const Math::Vec3f& ambient,
                                           const Math::Vec3f& specular,
                                           const std::vector<Sys::Ptr<Korvo::IModel>>& casters)
{
    Sys::Ptr<Korvo::OmniLightSource> light(new Korvo::OmniLightSource(radius));
    light->ZFailCasters = casters;
    light->SourceSize = sourceSize;
    light->DiffuseColor = diffuse;
    light->AmbientColor = ambient;
    light->SpecularColor = specular;
    return light;
}

Sys::Ptr<Camera> MakeCamera(float fieldOfView)
{
    const float aspect = static_cast<float>(r_Screen_Width.value) /
                         static_cast<float>(r_Screen_Height.value);
    Sys::Ptr<Camera> camera(new Camera());
    camera->GetViewer()->SetProjection(fieldOfView, aspect, 4.0f, 4096.0f);
    return camera;
}

Sys::Ptr<Camera> MakeOverheadCamera()
{
    Sys::Ptr<Camera> camera = MakeCamera(30.0f);
    camera->SetPosition(Math::Vec3f(0.0f, 400.0f, 20.0f));
    camera->GetTarget()->SetPosition(Math::Vec3f(0.0f, 0.0f, 0.0f));
    return camera;
}

} // namespace Game
