#include "tools/capture/TestScenes.h"

#include "app/Exception.h"
#include "media/IMesh.h"
#include "media/Mesh3DS.h"
#include "media/MeshRecord3DS.h"
#include "world/Model3DS.h"

#include <array>
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

// A closed prism: the polygon (counter-clockwise in x, y, with the triangles that fill it)
// extruded along z from -depth to +depth.
Media::MeshRecord3DS PrismRecord(const char* name, const std::vector<Vec3f>& polygon,
                                 const std::vector<std::array<int, 3>>& fill, float depth)
{
    Media::MeshRecord3DS record;
    record.Name = name;
    const int n = static_cast<int>(polygon.size());
    for (const Vec3f& p : polygon)
        record.Vertices.push_back(Vec3f(p.x, p.y, depth));
    for (const Vec3f& p : polygon)
        record.Vertices.push_back(Vec3f(p.x, p.y, -depth));
    for (const auto& t : fill) {
        AddFace(record, t[0], t[1], t[2]);
        AddFace(record, n + t[0], n + t[2], n + t[1]);
    }
    for (int i = 0; i < n; ++i) {
        const int j = (i + 1) % n;
        AddFace(record, n + i, n + j, j);
        AddFace(record, n + i, j, i);
    }
    return record;
}

// A closed tube of the given radius along x, from -half to +half.
Media::MeshRecord3DS PipeRecord(float radius, float half, int sides)
{
    std::vector<Vec3f> ring;
    std::vector<std::array<int, 3>> fill;
    for (int k = 0; k < sides; ++k) {
        const float a = 6.2831853f * k / sides;
        ring.push_back(Vec3f(radius * std::cos(a), radius * std::sin(a), 0));
        if (k >= 2)
            fill.push_back({0, k - 1, k});
    }
    Media::MeshRecord3DS record = PrismRecord("Pipe", ring, fill, half);
    // The prism runs along z; turn it to run along x.
    for (Vec3f& v : record.Vertices)
        v = Vec3f(v.z, v.y, -v.x);
    return record;
}

// A closed U: a block with a notch cut into its top.
Media::MeshRecord3DS NotchRecord()
{
    const std::vector<Vec3f> polygon = {Vec3f(-1.5f, 0, 0),   Vec3f(1.5f, 0, 0),
                                        Vec3f(1.5f, 0.7f, 0), Vec3f(1.5f, 2, 0),
                                        Vec3f(0.5f, 2, 0),    Vec3f(0.5f, 0.7f, 0),
                                        Vec3f(-0.5f, 0.7f, 0), Vec3f(-0.5f, 2, 0),
                                        Vec3f(-1.5f, 2, 0),   Vec3f(-1.5f, 0.7f, 0)};
    const std::vector<std::array<int, 3>> fill = {{0, 1, 2}, {0, 2, 5}, {0, 5, 6}, {0, 6, 9},
                                                  {2, 3, 4}, {2, 4, 5}, {9, 6, 7}, {9, 7, 8}};
    return PrismRecord("Notch", polygon, fill, 0.6f);
}

// Closed parts packed into one mesh, each moved to its place.
Media::MeshRecord3DS PackedRecord(const std::vector<std::pair<Media::MeshRecord3DS, Vec3f>>& parts)
{
    Media::MeshRecord3DS record;
    record.Name = "Packed";
    for (const auto& [part, place] : parts) {
        const int first = static_cast<int>(record.Vertices.size());
        for (const Vec3f& v : part.Vertices)
            record.Vertices.push_back(v + place);
        for (const auto& f : part.Faces)
            AddFace(record, first + f[0], first + f[1], first + f[2]);
    }
    return record;
}

Math::Mat3 Yaw(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    return Math::Mat3::FromRows(Vec3f(c, 0, s), Vec3f(0, 1, 0), Vec3f(-s, 0, c));
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
        high->Orientation = Yaw(0.4f);
        scene.Casters.push_back(high);
    } else if (name == "crossing") {
        // Two bars whose shadows cross: overlapping umbrae with crossing silhouettes.
        Sys::Ptr<Korvo::IModel> low =
            Model(BoxRecord(Vec3f(2.2f, 0.2f, 0.35f)), true, Vec3f(0, 2.0f, -0.5f));
        low->Orientation = Yaw(0.6f);
        Sys::Ptr<Korvo::IModel> high =
            Model(BoxRecord(Vec3f(2.2f, 0.2f, 0.35f)), true, Vec3f(0.2f, 3.2f, -0.3f));
        high->Orientation = Yaw(-0.6f);
        scene.Casters.push_back(low);
        scene.Casters.push_back(high);
    } else if (name == "stacked") {
        // A slab that shadows a sphere below it, and both shadow the floor.
        scene.Casters.push_back(Model(BoxRecord(Vec3f(1.2f, 0.15f, 1.2f)), true,
                                      Vec3f(0.3f, 4.5f, 0.2f)));
        scene.Casters.push_back(Model(SphereRecord(0.9f, 16, 10), true,
                                      Vec3f(-0.3f, 1.2f, -0.3f)));
    } else if (name == "tower") {
        // Six slabs turned against each other: up to six shadow volumes hold one pixel.
        for (int k = 0; k < 6; ++k) {
            Sys::Ptr<Korvo::IModel> slab = Model(BoxRecord(Vec3f(1.0f, 0.08f, 0.7f)), true,
                                                 Vec3f(0.1f * k, 1.5f + 0.6f * k, -0.1f * k));
            slab->Orientation = Yaw(0.3f * k);
            scene.Casters.push_back(slab);
        }
    } else if (name == "pipe") {
        // A thin caster: its penumbra is wider than its umbra.
        scene.Casters.push_back(Model(PipeRecord(0.15f, 3.0f, 12), true, Vec3f(0, 1.8f, 0.5f)));
    } else if (name == "notch") {
        // A concave caster whose arms shadow the bottom of its notch.
        Sys::Ptr<Korvo::IModel> notch = Model(NotchRecord(), true, Vec3f(-0.5f, 0.8f, -0.5f));
        notch->Orientation = Yaw(0.3f);
        scene.Casters.push_back(notch);
    } else if (name == "packed") {
        // One mesh of separate parts around the light, whose box holds the light, so that
        // no plane ends the mesh's volume as a whole: two boxes and a sphere below it, a
        // slab above it, and a small block just under it, too near for any plane, whose
        // shadow reaches the floor.
        scene.Casters.push_back(Model(PackedRecord({{BoxRecord(Vec3f(0.8f, 0.6f, 0.8f)),
                                                     Vec3f(-2.0f, 2.0f, 0.5f)},
                                                    {SphereRecord(0.7f, 12, 8),
                                                     Vec3f(2.2f, 3.0f, -0.8f)},
                                                    {BoxRecord(Vec3f(0.5f, 1.2f, 0.5f)),
                                                     Vec3f(0.5f, 1.8f, 2.6f)},
                                                    {BoxRecord(Vec3f(1.0f, 0.1f, 1.0f)),
                                                     Vec3f(1.0f, 10.5f, 1.5f)},
                                                    {BoxRecord(Vec3f(0.15f, 0.1f, 0.15f)),
                                                     Vec3f(1.8f, 8.2f, 2.0f)}}),
                                      true, Vec3f()));
    } else if (name == "overhead") {
        // A box on the floor, and a slab between the light and the eye that holds the eye in
        // its shadow: the near plane cuts into the slab's volume.
        scene.Casters.push_back(Model(BoxRecord(Vec3f(1, 1, 1)), true, Vec3f(0, 2, 0)));
        scene.Casters.push_back(Model(BoxRecord(Vec3f(0.8f, 0.1f, 0.8f)), true,
                                      Vec3f(0.75f, 7.75f, 4.25f)));
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

RayTrace::Scene TracedScene(const TestScene& scene)
{
    RayTrace::Scene traced;
    std::vector<Sys::Ptr<Korvo::IModel>> models = {scene.Floor};
    models.insert(models.end(), scene.Casters.begin(), scene.Casters.end());
    for (const Sys::Ptr<Korvo::IModel>& model : models) {
        // The meshes keep their positions; the model matrix places them.
        const Math::Mat4 place = model->GetModelMatrix();
        std::vector<RayTrace::Triangle> triangles;
        for (const Sys::Ptr<Korvo::IMesh>& mesh : model->Meshes) {
            const std::vector<Math::Vec3f>& positions = mesh->GetPositions();
            for (const Korvo::IMesh::Triangle& tri : mesh->GetTriangles())
                triangles.push_back({place.TransformPoint(positions[tri[0]]),
                                     place.TransformPoint(positions[tri[1]]),
                                     place.TransformPoint(positions[tri[2]])});
        }
        traced.AddObject(triangles);
    }
    return traced;
}

RayTrace::Camera TracedCamera(const TestScene& scene, int width, int height)
{
    RayTrace::Camera camera;
    camera.Width = width;
    camera.Height = height;
    camera.View = scene.Camera->GetViewMatrix();
    camera.Projection = scene.Camera->GetProjectionMatrix();
    return camera;
}

} // namespace Capture
