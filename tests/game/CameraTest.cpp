#include "game/Camera.h"
#include "game/PathMover.h"

#include <gtest/gtest.h>

namespace {

using Vec = Math::Vec3f;

TEST(Camera, KeepsTrackOfAMovingTarget)
{
    Game::Camera camera;
    EXPECT_EQ(camera.GetViewer()->GetFieldOfView(), 90.0f);
    EXPECT_EQ(camera.GetViewer()->GetNear(), 1.0f);

    // The target rides an ellipse at height 50 while the camera stays put; after every
    // move the target sits in the middle of the picture, with world up pointing up.
    Game::PathMover mover;
    mover.BuildEllipsePath(Vec(0, 50, 0), 100.0f, 70.0f, 32);
    mover.SetMotion(camera.GetTarget(), 0, true, Game::PathMover::Loop, 30.0f, true, 5.0f,
                    0.0f, 1.0f);
    camera.SetPosition(Vec(0, 60, 150));
    for (int frame = 0; frame < 50; ++frame) {
        mover.Update(0.2f);
        camera.Update();
        const Math::Mat4& view = camera.GetViewer()->GetViewMatrix();
        const Vec target = camera.GetTarget()->position;
        const Vec t = view.TransformPoint(target);
        EXPECT_NEAR(t.x, 0.0f, 1e-3f);
        EXPECT_NEAR(t.y, 0.0f, 1e-3f);
        EXPECT_LT(t.z, 0.0f);
        EXPECT_GT(view.TransformPoint(target + Vec(0, 1, 0)).y, 0.0f);
        EXPECT_EQ(camera.GetViewer()->GetPosition(), camera.position);
    }
}

} // namespace
