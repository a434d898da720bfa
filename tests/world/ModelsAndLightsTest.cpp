#include "world/OmniLightSource.h"
#include "tests/support/BoxModels.h"

#include <gtest/gtest.h>

namespace {

using Korvo::IModel;
using Math::Vec3f;

using Test::ModelWithBoxes;

TEST(OmniLightSource, CollectsModelsWhoseMeshBoxesReachTheSphere)
{
    Korvo::OmniLightSource light(10.0f);
    light.Position = Vec3f(0, 0, 0);

    // Two meshes in reach: the model is listed once per mesh.
    Sys::Ptr<IModel> near = ModelWithBoxes({{Vec3f(5, -1, -1), Vec3f(6, 1, 1)},
                                            {Vec3f(-1, 9, -1), Vec3f(1, 12, 1)}});
    // Box corner at distance sqrt(3 * 6^2) ~ 10.4: outside although each axis is within 10.
    Sys::Ptr<IModel> corner = ModelWithBoxes({{Vec3f(6, 6, 6), Vec3f(8, 8, 8)}});
    // Far in world space, but its model matrix brings the box to the light.
    Sys::Ptr<IModel> moved = ModelWithBoxes({{Vec3f(-1, -1, -1), Vec3f(1, 1, 1)}});
    moved->Position = Vec3f(100, 0, 0);
    light.Position = Vec3f(95, 0, 0);
    light.CollectModelsInRange({near, corner, moved});
    ASSERT_EQ(light.ModelsInRange.size(), 1u);
    EXPECT_TRUE(light.ModelsInRange[0] == moved);

    light.Position = Vec3f(0, 0, 0);
    light.CollectModelsInRange({near, corner, moved});
    ASSERT_EQ(light.ModelsInRange.size(), 2u);
    EXPECT_TRUE(light.ModelsInRange[0] == near);
    EXPECT_TRUE(light.ModelsInRange[1] == near);

    // A negative radius is stored as 0 and reaches nothing, not even a box around it.
    Korvo::OmniLightSource dark(-5.0f);
    EXPECT_EQ(dark.Radius, 0.0f);
    dark.CollectModelsInRange({ModelWithBoxes({{Vec3f(-1, -1, -1), Vec3f(1, 1, 1)}})});
    EXPECT_TRUE(dark.ModelsInRange.empty());
}

} // namespace
