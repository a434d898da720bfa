#pragma once

#include "app/Ptr.h"
#include "game/INode.h"
#include "world/IModel.h"

namespace Game {

// A node that carries a model.
class IActor : public INode {
public:
    ~IActor() override = default;

    Sys::Ptr<Korvo::IModel> model;
};

} // namespace Game
