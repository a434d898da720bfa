#pragma once

#include "game/IActor.h"

namespace Game {

// An actor whose model follows the node: each update copies the node's transform into
// the model's entity fields.
class Monster : public IActor {
public:
    Monster() = default;
    explicit Monster(Sys::Ptr<Korvo::IModel> carried) { model = carried; }
    ~Monster() override = default;

    void Update() override;
};

} // namespace Game
