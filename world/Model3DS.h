#pragma once

#include "world/IStaticModel.h"

#include <vector>

namespace Korvo {

class Mesh3DS;

// A static model loaded from a 3DS file: one mesh per named object, in file order.
class Model3DS : public IStaticModel {
public:
    explicit Model3DS(const std::vector<Sys::Ptr<Mesh3DS>>& meshes);
    ~Model3DS() override = default;

    std::string GetTypeName() const override { return "Korvo::Model3DS"; }
};

} // namespace Korvo
