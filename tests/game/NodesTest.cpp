#include "game/LightSource.h"
#include "game/Monster.h"
#include "game/PathMover.h"
#include "world/OmniLightSource.h"

#include <gtest/gtest.h>

namespace {

using Vec = Math::Vec3f;

// A model with no meshes: only its entity part matters here.
class BareModel : public Korvo::IModel {
public:
    std::string GetTypeName() const override { return "BareModel"; }
    int GetNumMeshes() const override { return 0; }
    Sys::Ptr<Korvo::IMesh> GetMesh(int) const override { return Sys::Ptr<Korvo::IMesh>(); }
    void DrawSkeleton() override {}
    void Animate(float) override {}
};

void ExpectSameOrientation(const Math::Mat3& a, const Math::Mat3& b)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(a.m[i], b.m[i]) << i;
}

TEST(Nodes, CarriedObjectsFollowTheirNodes)
{
    // Empty carriers are harmless.
    Game::Monster lonely;
    lonely.SetPosition(Vec(1, 2, 3));
    lonely.Update();
    Game::LightSource dark;
    dark.Update();
    EXPECT_EQ(Game::INode().position, Vec(0, 0, 0));
    ExpectSameOrientation(Game::INode().orientation, Math::Mat3());

    // A walking monster: after each mover step the model stands where the node stands
    // and faces the same way.
    Sys::Ptr<Korvo::IModel> model(new BareModel());
    Sys::Ptr<Game::Monster> monster(new Game::Monster(model));
    Game::PathMover walk;
    walk.BuildEllipsePath(Vec(0, 0, 0), 100.0f, 70.0f, 32);
    walk.SetMotion(monster, 1, true, Game::PathMover::Loop, 18.0f, true, 0.0f, 0.0f, 1.0f);
    for (int frame = 0; frame < 10; ++frame) {
        walk.Update(0.5f);
        EXPECT_EQ(model->Position, monster->position);
        ExpectSameOrientation(model->Orientation, monster->orientation);
    }
    EXPECT_NE(model->Position, Vec(0, 0, 70));

    // A light on a circling path: the light's own position moves with the node, and so
    // does the model matrix the renderer builds from it.
    Sys::Ptr<Korvo::OmniLightSource> light(new Korvo::OmniLightSource(400.0f));
    Sys::Ptr<Game::LightSource> node(new Game::LightSource(light));
    Game::PathMover circle;
    circle.BuildEllipsePath(Vec(0, 130, 0), 80.0f, 80.0f, 16);
    circle.SetMotion(node, 0, true, Game::PathMover::Loop, 60.0f, true, 0.0f, 0.0f, 1.0f);
    circle.Update(0.0f);
    EXPECT_EQ(light->Position, node->position);
    EXPECT_NEAR(light->Position.z, 80.0f, 1e-3f);
    circle.Update(1.0f);
    EXPECT_EQ(light->Position, node->position);
    EXPECT_NEAR(light->Position.y, 130.0f, 1e-3f);
    EXPECT_NEAR(Vec(light->Position.x, 0, light->Position.z).Length(), 80.0f, 0.5f);
    const Math::Mat4 matrix = light->GetModelMatrix();
    EXPECT_EQ(matrix.m[12], node->position.x);
    EXPECT_EQ(matrix.m[14], node->position.z);
}

} // namespace
