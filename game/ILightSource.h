#pragma once

#include "app/Ptr.h"
#include "game/INode.h"
#include "world/IPointLightSource.h"

namespace Game {

// A node that carries a point light.
class ILightSource : public INode {
public:
    ~ILightSource() override = default;

    Sys::Ptr<Korvo::IPointLightSource> light;
};

} // namespace Game
