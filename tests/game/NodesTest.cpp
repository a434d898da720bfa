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

// After every mover step the carried model and light stand and face where their nodes do;
// carriers without anything to carry are harmless.
TEST(Nodes, CarriedObjectsFollowTheirNodes)
{
    Game::Monster().Update();
    Game::LightSource().Update();

    Sys::Ptr<Korvo::IModel> model(new BareModel());
    Sys::Ptr<Game::Monster> monster(new Game::Monster(model));
    Sys::Ptr<Korvo::OmniLightSource> light(new Korvo::OmniLightSource(400.0f));
    Sys::Ptr<Game::LightSource> lamp(new Game::LightSource(light));
    Game::PathMover walk, circle;
    walk.BuildEllipsePath(Vec(0, 0, 0), 100.0f, 70.0f, 32);
    walk.SetMotion(monster, 1, true, Game::PathMover::Loop, 18.0f, true, 0.0f, 0.0f, 1.0f);
    circle.BuildEllipsePath(Vec(0, 130, 0), 80.0f, 80.0f, 16);
    circle.SetMotion(lamp, 0, true, Game::PathMover::Loop, 60.0f, true, 0.0f, 0.0f, 1.0f);
    for (int frame = 0; frame < 5; ++frame) {
        walk.Update(0.5f);
        circle.Update(0.5f);
        EXPECT_EQ(model->Position, monster->position);
        EXPECT_EQ(light->Position, lamp->position);
        for (int i = 0; i < 9; ++i)
            EXPECT_EQ(model->Orientation.m[i], monster->orientation.m[i]);
    }
    EXPECT_NE(model->Position, Vec(0, 0, 70));
    EXPECT_NEAR(Vec(light->Position.x, 0, light->Position.z).Length(), 80.0f, 0.5f);
}

} // namespace
