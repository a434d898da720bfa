#include "world/OmniLightSource.h"
#include "app/DeveloperException.h"
#include "gl/IProgram.h"
#include "tests/support/BoxModels.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using Korvo::IModel;
using Math::Vec3f;

using Test::ModelWithBoxes;

// A program that only remembers the float uniforms set on it, by name.
class UniformRecorder : public GL::IProgram {
public:
    std::string GetTypeName() const override { return "UniformRecorder"; }
    GLuint GetHandle() const override { return 0; }
    void Link() override {}
    std::string GetInfoLog() const override { return std::string(); }
    void Validate() const override {}
    void SetUniformArray(std::string_view, int, int, const int*) const override {}
    void SetUniformArray(std::string_view, int, int, const float*) const override {}
    void SetUniformBuffer(std::string_view,
                          Sys::Ptr<const GL::IVertexBufferObject>) const override {}
    void SetUniformMatrix4(std::string_view, const float*) const override {}
    void SetUniformMatrix3(std::string_view, const float*) const override {}
    void SetUniformMatrix2(std::string_view, const float*) const override {}
    void SetUniform4i(std::string_view, const int*) const override {}
    void SetUniform3i(std::string_view, const int*) const override {}
    void SetUniform2i(std::string_view, const int*) const override {}
    void SetUniform4f(std::string_view, const float*) const override {}
    void SetUniform3f(std::string_view name, const float* v) const override
    {
        values[std::string(name)] = {v[0], v[1], v[2]};
    }
    void SetUniform2f(std::string_view, const float*) const override {}
    void SetUniform1i(std::string_view, int) const override {}
    void SetUniform1f(std::string_view name, float value) const override
    {
        values[std::string(name)] = {value};
    }
    void SetUniformBool(std::string_view, bool) const override {}
    void Bind() const override {}
    void Unbind() const override {}

    mutable std::map<std::string, std::vector<float>> values;
};

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

TEST(OmniLightSource, RangeEndsExactlyAtTheRadiusAndTurnsWithTheModel)
{
    Korvo::OmniLightSource light(10.0f);
    // The box's nearest face exactly at the radius still touches the sphere; a hair
    // further does not.
    Sys::Ptr<IModel> touching = ModelWithBoxes({{Vec3f(10, -1, -1), Vec3f(12, 1, 1)}});
    Sys::Ptr<IModel> apart = ModelWithBoxes({{Vec3f(10.001f, -1, -1), Vec3f(12, 1, 1)}});
    // Edge on: nearest point (6, 8, 0), at distance 10.
    Sys::Ptr<IModel> edge = ModelWithBoxes({{Vec3f(6, 8, -1), Vec3f(9, 9, 1)}});
    // The light inside a box far larger than its sphere.
    Sys::Ptr<IModel> around = ModelWithBoxes({{Vec3f(-50, -50, -50), Vec3f(50, 50, 50)}});
    light.CollectModelsInRange({touching, apart, edge, around});
    ASSERT_EQ(light.ModelsInRange.size(), 3u);
    EXPECT_TRUE(light.ModelsInRange[0] == touching);
    EXPECT_TRUE(light.ModelsInRange[1] == edge);
    EXPECT_TRUE(light.ModelsInRange[2] == around);

    // A model turned a quarter about y: its box on its own +x axis lies along world -z
    // (the orientation's rows hold the model's axes in the world). The light there reaches
    // it; the light where the box would be unturned does not.
    Sys::Ptr<IModel> turned = ModelWithBoxes({{Vec3f(20, -1, -1), Vec3f(22, 1, 1)}});
    turned->Position = Vec3f(0, 5, 0);
    turned->Orientation = Math::Mat3::FromRows({0, 0, -1}, {0, 1, 0}, {1, 0, 0});
    const Vec3f boxInWorld = turned->GetModelMatrix().TransformPoint(Vec3f(21, 0, 0));
    EXPECT_LT((boxInWorld - Vec3f(0, 5, -21)).Length(), 1e-5f);
    light.Position = boxInWorld;
    light.CollectModelsInRange({turned});
    EXPECT_EQ(light.ModelsInRange.size(), 1u);
    light.Position = Vec3f(21, 5, 0);
    light.CollectModelsInRange({turned});
    EXPECT_TRUE(light.ModelsInRange.empty());
}

TEST(OmniLightSource, UniformsInTheModelsSpace)
{
    Korvo::OmniLightSource light(300.0f);
    light.Position = Vec3f(10, 20, 30);
    light.SourceSize = 4.0f;
    const Math::Mat4 toModel = Math::Mat4::Translation({-10, 0, 5});

    UniformRecorder world;
    light.SetUniforms(world, toModel, Korvo::IPointLightSource::UniformsWithWorldPosition);
    using Values = std::vector<float>;
    EXPECT_EQ(world.values["u_LightSource.Position"], (Values{0, 20, 35}));
    EXPECT_EQ(world.values["u_LightSource.WorldPosition"], (Values{10, 20, 30}));
    EXPECT_EQ(world.values["u_LightSource.Radius"], Values{4.0f});
    EXPECT_EQ(world.values["u_LightSource.ScaledRadius"], Values{1.6f});
    EXPECT_EQ(world.values["u_LightSource.InvRadius"], Values{0.25f});

    // The model-space form leaves the world position out.
    UniformRecorder model;
    light.SetUniforms(model, toModel, Korvo::IPointLightSource::UniformsInModelSpace);
    EXPECT_EQ(model.values["u_LightSource.Position"], (Values{0, 20, 35}));
    EXPECT_EQ(model.values.count("u_LightSource.WorldPosition"), 0u);
    EXPECT_EQ(model.values.size(), 4u);

    UniformRecorder unknown;
    EXPECT_THROW(light.SetUniforms(unknown, toModel, 2), Sys::DeveloperException);
    EXPECT_THROW(light.SetUniforms(unknown, toModel, -1), Sys::DeveloperException);
    EXPECT_TRUE(unknown.values.empty());
}

} // namespace
