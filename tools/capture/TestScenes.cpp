#include "tools/capture/TestScenes.h"

#include "app/Exception.h"
#include "media/Mesh3DS.h"
#include "media/MeshRecord3DS.h"
#include "world/Model3DS.h"

#include <cmath>

namespace Capture {

using Math::Vec3f;

namespace {

void AddFace(Media::MeshRecord3DS& record, int a, int b, int c)
{
    record.Faces.push_back({static_cast<uint16_t>(a), static_cast<uint16_t>(b),
                            static_cast<uint16_t>(c), 0});
}

// A closed box around the origin, faces wound counter-clockwise from outside.
Media::MeshRecord3DS BoxRecord(const Vec3f& half)
{
    Media::MeshRecord3DS record;
    record.Name = "Box";
    for (int i = 0; i < 8; ++i)
        record.Vertices.push_back(Vec3f(i & 1 ? half.x : -half.x, i & 2 ? half.y : -half.y,
                                        i & 4 ? half.z : -half.z));
    const int faces[12][3] = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
                              {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    for (const auto& f : faces)
        AddFace(record, f[0], f[1], f[2]);
    return record;
}

// A closed latitude-longitude sphere.
Media::MeshRecord3DS SphereRecord(float radius, int slices, int stacks)
{
    Media::MeshRecord3DS record;
    record.Name = "Sphere";
    const float pi = 3.14159265f;
    record.Vertices.push_back(Vec3f(0, radius, 0));
    for (int i = 1; i < stacks; ++i)
        for (int j = 0; j < slices; ++j) {
            const float theta = pi * i / stacks, phi = 2.0f * pi * j / slices;
            record.Vertices.push_back(Vec3f(radius * std::sin(theta) * std::cos(phi),
                                            radius * std::cos(theta),
                                            radius * std::sin(theta) * std::sin(phi)));
        }
    const int bottom = static_cast<int>(record.Vertices.size());
    record.Vertices.push_back(Vec3f(0, -radius, 0));
    auto ring = [slices](int i, int j) { return 1 + (i - 1) * slices + (j % slices); };
    for (int j = 0; j < slices; ++j)
        AddFace(record, 0, ring(1, j + 1), ring(1, j));
    for (int i = 1; i < stacks - 1; ++i)
        for (int j = 0; j < slices; ++j) {
            AddFace(record, ring(i, j), ring(i, j + 1), ring(i + 1, j + 1));
            AddFace(record, ring(i, j), ring(i + 1, j + 1), ring(i + 1, j));
        }
    for (int j = 0; j < slices; ++j)
        AddFace(record, bottom, ring(stacks - 1, j), ring(stacks - 1, j + 1));
    return record;
}

Sys::Ptr<Korvo::IModel> Model(const Media::MeshRecord3DS& record, bool castShadows,
                              const Vec3f& position)
{
    std::vector<Sys::Ptr<Korvo::Mesh3DS>> meshes = {
        Sys::Ptr<Korvo::Mesh3DS>(new Korvo::Mesh3DS(record.Name, record, castShadows))};
    Sys::Ptr<Korvo::IModel> model(new Korvo::Model3DS(meshes));
    model->Position = position;
    return model;
}

} // namespace

TestScene BuildTestScene(const std::string& name, float sourceSize, int width, int height)
{
    TestScene scene;
    Media::MeshRecord3DS floor;
    floor.Name = "Floor";
    floor.Vertices = {Vec3f(-14, 0, -14), Vec3f(-14, 0, 14), Vec3f(14, 0, 14), Vec3f(14, 0, -14)};
    AddFace(floor, 0, 1, 2);
    AddFace(floor, 0, 2, 3);
    scene.Floor = Model(floor, false, Vec3f());

    if (name == "box") {
        scene.Casters.push_back(Model(BoxRecord(Vec3f(1, 1, 1)), true, Vec3f(0, 2, 0)));
    } else if (name == "sphere") {
        scene.Casters.push_back(Model(SphereRecord(1.3f, 16, 10), true, Vec3f(-0.5f, 2.5f, 0.5f)));
    } else if (name == "casters") {
        scene.Casters.push_back(Model(BoxRecord(Vec3f(1, 0.7f, 1)), true, Vec3f(-1.2f, 1.5f, 0)));
        // The upper caster is turned, so that model and world space differ.
        Sys::Ptr<Korvo::IModel> high =
            Model(BoxRecord(Vec3f(0.8f, 0.3f, 1.4f)), true, Vec3f(0.3f, 4.0f, 0.6f));
        const float c = std::cos(0.4f), s = std::sin(0.4f);
        high->Orientation = Math::Mat3::FromRows(Vec3f(c, 0, s), Vec3f(0, 1, 0), Vec3f(-s, 0, c));
        scene.Casters.push_back(high);
    } else {
        throw Sys::Exception("Unknown test scene <%s>.", name.c_str());
    }

    scene.Light = Sys::Ptr<Korvo::OmniLightSource>(new Korvo::OmniLightSource(40.0f));
    scene.Light->Position = Vec3f(1.5f, 9.0f, 2.0f);
    scene.Light->SourceSize = sourceSize;
    scene.Light->AmbientColor = Vec3f(0.05f, 0.05f, 0.05f);
    scene.Light->DiffuseColor = Vec3f(1, 1, 1);
    scene.Light->SpecularColor = Vec3f(0.3f, 0.3f, 0.3f);
    scene.Light->ZFailCasters = scene.Casters;

    scene.Camera = Sys::Ptr<Korvo::Viewer>(new Korvo::Viewer());
    scene.Camera->SetProjection(55.0f, static_cast<float>(width) / height, 0.5f, 4096.0f);
    scene.Camera->LookAt(Vec3f(0, 6.5f, 6.5f), Vec3f(0, 0.5f, -1.0f), Vec3f(0, 1, 0));
    return scene;
}

} // namespace Capture
