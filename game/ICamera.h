#pragma once

#include "game/INode.h"

namespace Game {

// A node the world is seen from.
class ICamera : public INode {
public:
    ~ICamera() override = default;
};

} // namespace Game
