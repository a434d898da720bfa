#pragma once

#include "world/IEntity.h"

namespace Korvo {

// Any light of the world; its place comes from the entity part.
class ILightSource : public IEntity {
public:
    ~ILightSource() override = default;
};

} // namespace Korvo
