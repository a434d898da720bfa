#include "config/CVars.h"
#include "gl/FrameBuffer.h"
#include "gl/IndexBuffer.h"
#include "gl/ITexture.h"
#include "gl/RenderDevice_Release.h"
#include "gl/VertexBuffer.h"
#include "gl/VertexFormat.h"
#include "media/Mesh3DS.h"
#include "media/MeshMD5.h"
#include "media/ModelLoader3DS.h"
#include "media/ModelLoaderMD5.h"
#include "render/LookupTexture_Atan2.h"
#include "render/PassProfiler.h"
#include "render/PrimitiveBuffer_Quad.h"
#include "render/PrimitiveBuffer_WedgeS.h"
#include "shadow/IWedgeScissor.h"
#include "shadow/MeshAdjacencyMD5.h"
#include "shadow/ShadowVolume.h"
#include "tests/support/DeviceFixture.h"
#include "tools/modelwriters/ModelWriter3DS.h"
#include "tools/modelwriters/ModelWriterMD5.h"
#include "world/Model3DS.h"
#include "world/ModelMD5.h"

#include "app/DeveloperException.h"
#include "tests/support/ErrorOf.h"

#include <GL/glew.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

using Media::ModelWriter3DS;
using Media::ModelWriterMD5;

namespace {

GLint Integer(GLenum name)
{
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

ModelWriter3DS::Object Cube(const std::string& name)
{
    ModelWriter3DS::Object o;
    o.Name = name;
    for (int i = 0; i < 8; ++i)
        o.Vertices.push_back({i & 1 ? 1.0f : -1.0f, i & 2 ? 1.0f : -1.0f, i & 4 ? 1.0f : -1.0f});
    o.Faces = {{0, 2, 3}, {0, 3, 1}, {4, 5, 7}, {4, 7, 6}, {0, 1, 5}, {0, 5, 4},
               {2, 6, 7}, {2, 7, 3}, {0, 4, 6}, {0, 6, 2}, {1, 3, 7}, {1, 7, 5}};
    return o;
}

} // namespace

using MediaGL = DeviceFixture;

TEST_F(MediaGL, Loads3DSModelsWithOrWithoutShadowGeometry)
{
    ModelWriter3DS::Scene scene;
    scene.Objects = {Cube("box"), Cube("lid")};
    scene.Objects[1].Vertices[7] = {2, 3, 4};
    ModelWriter3DS::Save("cube.3ds", scene);

    Media::ModelLoader3DS loader;
    std::vector<Sys::Ptr<Korvo::Mesh3DS>> meshes;
    loader.Load("cube.3ds", true, meshes);
    Sys::Ptr<Korvo::Model3DS> model(new Korvo::Model3DS(meshes));
    ASSERT_EQ(model->GetNumMeshes(), 2);
    Sys::Ptr<Korvo::IMesh> lid = model->GetMesh(1);
    EXPECT_EQ(lid->BoundsMax, Math::Vec3f(2, 3, 4));
    EXPECT_EQ(lid->BoundsMin, Math::Vec3f(-1, -1, -1));
    ASSERT_FALSE(lid->GetAdjacency().IsEmpty());
    ASSERT_FALSE(lid->GetShadowVolume().IsEmpty());
    lid->Draw();

    std::vector<Sys::Ptr<Korvo::Mesh3DS>> flat;
    loader.Load("cube.3ds", false, flat);
    EXPECT_TRUE(flat[0]->GetAdjacency().IsEmpty());
    EXPECT_TRUE(flat[0]->GetShadowVolume().IsEmpty());
}

TEST_F(MediaGL, FailedLoadsKeepTheMeshesAndNameTheFile)
{
    Media::ModelLoader3DS loader;
    std::vector<Sys::Ptr<Korvo::Mesh3DS>> meshes;
    EXPECT_EQ(ErrorOf([&] { loader.Load("missing.3ds", true, meshes); }),
              "Unable to load 3DS model from file \"missing.3ds\".\n\nUnable to open file "
              "\"missing.3ds\"");

    ModelWriter3DS::Scene open;
    open.Objects = {Cube("box")};
    open.Objects[0].Faces.pop_back();
    ModelWriter3DS::Save("open.3ds", open);
    EXPECT_EQ(ErrorOf([&] { loader.Load("open.3ds", true, meshes); }),
              "Unable to load 3DS model from file \"open.3ds\".\n\nNon-adjacent face #2.");
    EXPECT_TRUE(meshes.empty());
    loader.Load("open.3ds", false, meshes);   // no adjacency, no complaint
    EXPECT_EQ(meshes.size(), 1u);

    open.Objects[0].Faces[3][1] = 8;
    ModelWriter3DS::Save("bad.3ds", open);
    const std::vector<Sys::Ptr<Korvo::Mesh3DS>> kept = meshes;
    EXPECT_EQ(ErrorOf([&] { loader.Load("bad.3ds", false, meshes); }),
              "Unable to load 3DS model from file \"bad.3ds\".\n\nFace #3 uses vertex 8 of 8.");
    EXPECT_TRUE(meshes == kept);

    std::vector<Sys::Ptr<Korvo::MeshMD5>> md5;
    Sys::Ptr<Korvo::SkeletonMD5> skeleton;
    Sys::Ptr<Korvo::ISkeletonHierarchy> hierarchy;
    ModelWriterMD5::SaveText("v11.md5mesh", "MD5Version 11\n");
    EXPECT_EQ(ErrorOf([&] {
                  Media::ModelLoaderMD5::LoadModel("v11.md5mesh", md5, skeleton, hierarchy);
              }),
              "Failed to load MD5 model from file \"v11.md5mesh\".\n\nUnsupported MD5 file "
              "version: 11, must be 10.");
    EXPECT_TRUE(md5.empty() && skeleton.IsEmpty() && hierarchy.IsEmpty());
}

TEST_F(MediaGL, SkinnedModelFollowsItsAnimation)
{
    ModelWriterMD5::MeshFile file;
    file.Joints = {{"origin", -1, {0, 0, 0}, {0, 0, 0}}, {"top", 0, {0, 0, 1}, {0, 0, 0}}};
    ModelWriterMD5::Mesh mesh;
    const Math::Vec3f corners[4] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int v = 0; v < 4; ++v) {
        mesh.Vertices.push_back({{0.3f * v, 0.2f * v * v}, v, 1});
        mesh.Weights.push_back({v == 3 ? 1 : 0, 1.0f, v == 3 ? Math::Vec3f() : corners[v]});
    }
    mesh.Triangles = {{0, 2, 1}, {0, 1, 3}, {1, 2, 3}, {0, 3, 2}};
    file.Meshes = {mesh, mesh};
    ModelWriterMD5::SaveText("tetra.md5mesh", ModelWriterMD5::Write(file));

    ModelWriterMD5::AnimFile anim;
    anim.Joints = {{"origin", -1, 0}, {"top", 0, 2}};   // the file's y: the engine's -z
    anim.BaseFrame = {{{0, 0, 0}, {0, 0, 0}}, {{0, 0, 1}, {0, 0, 0}}};
    anim.Frames = {{{{0, 0, 0}, {}}, {{0, 0, 1}, {}}}, {{{0, 0, 0}, {}}, {{0, 0, -1}, {}}}};
    ModelWriterMD5::SaveText("pull.md5anim", ModelWriterMD5::Write(anim));

    std::vector<Sys::Ptr<Korvo::MeshMD5>> meshes;
    Sys::Ptr<Korvo::SkeletonMD5> skeleton;
    Sys::Ptr<Korvo::ISkeletonHierarchy> hierarchy;
    Media::ModelLoaderMD5::LoadModel("tetra.md5mesh", meshes, skeleton, hierarchy);
    Sys::Ptr<Korvo::ModelMD5> model(
        new Korvo::ModelMD5(meshes, Sys::Ptr<Korvo::ISkeleton>(skeleton), hierarchy));
    ASSERT_EQ(model->GetNumMeshes(), 2);
    Sys::Ptr<Korvo::ISkeletalAnimation> walk;
    Media::ModelLoaderMD5::LoadAnimation("pull.md5anim", walk);
    model->AddAnimation("Pull", walk);
    model->SetAnimation("Pull");

    // An animation of another skeleton would pose the meshes by the wrong joints.
    anim.Joints[1].Parent = -1;
    ModelWriterMD5::SaveText("other.md5anim", ModelWriterMD5::Write(anim));
    Sys::Ptr<Korvo::ISkeletalAnimation> other;
    Media::ModelLoaderMD5::LoadAnimation("other.md5anim", other);
    EXPECT_EQ(ErrorOf([&] { model->AddAnimation("Other", other); }),
              "Animation \"Other\" does not fit the model's skeleton: joint 1 (\"top\") has "
              "parent -1 there, 0 in the model.");
    anim.Joints.push_back({"tip", 1, 0});
    for (auto& frame : anim.Frames)
        frame.push_back({});
    anim.BaseFrame.push_back({});
    ModelWriterMD5::SaveText("other.md5anim", ModelWriterMD5::Write(anim));
    Media::ModelLoaderMD5::LoadAnimation("other.md5anim", other);
    EXPECT_EQ(ErrorOf([&] { model->AddAnimation("Other", other); }),
              "Animation \"Other\" has 3 joints, the model's skeleton 2.");
    EXPECT_EQ(model->Animations.count("Other"), 0u);

    auto mesh0 = Sys::Ptr<Korvo::MeshMD5>::StaticFrom(model->GetMesh(0));
    auto adjacency = mesh0->GetAdjacency();
    const Math::Vec3f light(0.1f, 0.1f, -0.3f);
    adjacency->UpdateFacing(light);
    EXPECT_EQ(adjacency->BuildLists(1), 1);
    // Half way through the frame the apex has passed through the base: every face now
    // faces the light, and the adjacency saw the new pose.
    model->Animate(0.75f / 24.0f);
    EXPECT_NEAR(mesh0->GetSkinnedPositions()[3].z, -0.5f, 1e-5f);
    adjacency->UpdateFacing(light);
    EXPECT_EQ(adjacency->BuildLists(1), 4);
    mesh0->Draw();
    mesh0->GetShadowVolume()->Update(3);
    EXPECT_EQ(Sys::Ptr<Korvo::ShadowVolume>::StaticFrom(mesh0->GetShadowVolume())->GetIndicesPerWedge(), 48);
}

TEST_F(MediaGL, PrimitiveBuffersAndTheAngleTexture)
{
    Korvo::PrimitiveBuffer_Quad quad;
    Korvo::PrimitiveBuffer_WedgeS wedgeS;
    // The whole repeated index list is uploaded (what it draws: the accuracy test).
    EXPECT_EQ(wedgeS.GetIndexBuffer()->GetNumIndices(), 120000);
    EXPECT_EQ(quad.GetIndexBuffer()->GetNumIndices(), 30000);

    // The atan2 cube reads back: a turn in 256 steps from +X, the column of -Y at 3/4 of it.
    Korvo::LookupTexture_Atan2 atan2;
    EXPECT_EQ(atan2.Kind, 1);
    glBindTexture(GL_TEXTURE_CUBE_MAP, atan2.GetTexture()->GetHandle());
    std::vector<uint8_t> faces(6 * 128 * 128);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (int face = 0; face < 6; ++face)
        glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                      &faces[face * 128 * 128]);
    auto at = [&](int face, int row, int column) {
        return int(faces[(face * 128 + row) * 128 + column]);
    };
    for (int c = 0; c < 128; ++c) {
        EXPECT_EQ(at(0, 63, c), 0);
        EXPECT_EQ(at(0, 64, c), 254);
    }
    EXPECT_EQ(at(1, 63, 0), 127);
    EXPECT_EQ(at(2, 0, 63), 64);
    EXPECT_EQ(at(2, 0, 64), 63);
    EXPECT_EQ(at(3, 0, 63), 190);
    EXPECT_EQ(at(3, 0, 64), 191);

    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, &filter);
    EXPECT_EQ(filter, GL_NEAREST);
    EXPECT_EQ(Integer(GL_UNPACK_ALIGNMENT), 4);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

namespace {

// Hands out the given rectangles, one per batch, in turn.
class GivenRectangles : public Korvo::IWedgeScissor {
public:
    explicit GivenRectangles(std::vector<std::array<int, 4>> rects) : Rects(std::move(rects)) {}
    bool Rectangle(const Korvo::IMeshAdjacency::Edge*, int, int rect[4]) const override
    {
        const std::array<int, 4>& next = Rects.at(Given++);
        std::copy(next.begin(), next.end(), rect);
        return true;
    }
    mutable size_t Given = 0;

private:
    std::vector<std::array<int, 4>> Rects;
};

} // namespace

// A batch of wedges is drawn, three times, where its rectangle holds something; where the
// rectangle is empty the wedges can change no pixel, and none of the three draws is made.
TEST_F(MediaGL, WedgeBatchesReachingNothingAreNotDrawn)
{
    ModelWriter3DS::Scene scene;
    scene.Objects = {Cube("box")};
    ModelWriter3DS::Save("wedged.3ds", scene);
    Media::ModelLoader3DS loader;
    std::vector<Sys::Ptr<Korvo::Mesh3DS>> meshes;
    loader.Load("wedged.3ds", true, meshes);
    const Sys::Ptr<Korvo::Mesh3DS>& mesh = meshes[0];
    // A light above the top face: the top's four edges are the silhouette.
    mesh->GetAdjacency()->UpdateFacing(Math::Vec3f(0.3f, 5.0f, 0.2f));
    mesh->GetAdjacency()->BuildLists(0);
    ASSERT_EQ(mesh->GetAdjacency()->GetSilhouetteEdgeCount(), 4);
    mesh->GetShadowVolume()->Update(2);

    Korvo::PrimitiveBuffer_WedgeS wedgeS;
    GL::VertexFormat format;
    format.AddAttribute(0, 3, GL_FLOAT);
    format.AddAttribute(1, 3, GL_FLOAT);
    format.AddAttribute(2, 2, GL_SHORT);
    format.Compile();
    GL::Device->SetVertexFormat(format);
    GL::Device->SetVertexAttributes(wedgeS.GetVertexBuffer());
    GL::Device->SetIndexBuffer(wedgeS.GetIndexBuffer());

    const Sys::Ptr<const GL::IProgram> programs[3];
    const Korvo::ShadowVolumeDrawPlan::WedgeSteps steps;
    // One edge a batch; the first and third rectangles are empty.
    GivenRectangles rects({{{3, 4, 0, 10}}, {{0, 0, 256, 256}}, {{5, 5, 10, 0}}, {{7, 8, 1, 1}}});
    Korvo::PassProfiler profile(true);
    ASSERT_TRUE(profile.CountsShaders());
    profile.Begin("wedges");
    mesh->GetShadowVolume()->DrawWedges(programs, steps, 1, &rects);
    profile.EndFrame();
    EXPECT_EQ(rects.Given, 4u);
    const auto volume = Sys::Ptr<Korvo::ShadowVolume>::StaticFrom(mesh->GetShadowVolume());
    const int wedgeTriangles = volume->GetIndicesPerWedge() / 3;
    EXPECT_EQ(profile.GetPasses().at(0).Primitives, 2u * 3u * wedgeTriangles);
    // The scissor was set for the batches drawn, and nothing is left scissored.
    GLint box[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(std::vector<GLint>(box, box + 4), std::vector<GLint>({7, 8, 1, 1}));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    GL::Device->SetIndexBuffer(Sys::Ptr<const GL::IndexBuffer>());
}
