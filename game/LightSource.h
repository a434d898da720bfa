#pragma once

#include "game/ILightSource.h"

namespace Game {

// A light node whose light follows it: each update copies the node's transform into
// the light's entity fields.
class LightSource : public ILightSource {
public:
    LightSource() = default;
    explicit LightSource(Sys::Ptr<Korvo::IPointLightSource> carried) { light = carried; }
    ~LightSource() override = default;

    void Update() override;
};

} // namespace Game
