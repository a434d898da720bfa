#pragma once

// Models made of meshes that are nothing but their bounding boxes, for the tests of what
// is decided from bounds alone (lights' ranges, shadow reach).

#include "media/IMesh.h"
#include "world/IStaticModel.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace Test {

class BoxMesh : public Korvo::IMesh {
public:
    BoxMesh(Math::Vec3f lo, Math::Vec3f hi) : IMesh("Box")
    {
        BoundsMin = lo;
        BoundsMax = hi;
    }
    std::string GetTypeName() const override { return "BoxMesh"; }
    void Draw() override {}
};

class BoxModel : public Korvo::IStaticModel {
public:
    std::string GetTypeName() const override { return "BoxModel"; }
};

// One mesh per box, in model space.
inline Sys::Ptr<Korvo::IModel> ModelWithBoxes(
    std::initializer_list<std::pair<Math::Vec3f, Math::Vec3f>> boxes)
{
    Sys::Ptr<BoxModel> model(new BoxModel);
    for (const auto& box : boxes)
        model->Meshes.push_back(Sys::Ptr<Korvo::IMesh>(new BoxMesh(box.first, box.second)));
    return model;
}

} // namespace Test
