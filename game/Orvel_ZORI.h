#pragma once

#include "game/Camera.h"
#include "game/IDemo.h"
#include "game/LightSource.h"
#include "game/PathMover.h"
#include "world/IModel.h"
#include "world/OmniLightSource.h"

#include <vector>

namespace Game {

// The static industrial set under two coloured lights, the first circling overhead,
// seen from one of two fixed cameras (key C switches).
class Orvel_ZORI : public IDemo {
public:
    explicit Orvel_ZORI(Platform::HWND window);
    ~Orvel_ZORI() override = default;

    void OnKeyDown(uint32_t key) override;
    void OnFrame() override;

    // The camera the world renderer currently draws through.
    Sys::Ptr<Camera> GetActiveCamera() const { return secondCamera ? camera2 : camera1; }
    Sys::Ptr<Camera> GetCamera(int number) const { return number == 1 ? camera1 : camera2; }
    Sys::Ptr<LightSource> GetLightNode(int number) const
    {
        return number == 1 ? firstLightNode : secondLightNode;
    }

private:
    std::vector<Sys::Ptr<Korvo::IModel>> models;
    Sys::Ptr<Korvo::IModel> level;
    Sys::Ptr<Camera> camera1;
    Sys::Ptr<Camera> camera2;
    Sys::Ptr<PathMover> firstLightMover;
    Sys::Ptr<LightSource> firstLightNode;
    Sys::Ptr<LightSource> secondLightNode;
    Sys::Ptr<Korvo::OmniLightSource> firstLight;
    Sys::Ptr<Korvo::OmniLightSource> secondLight;
    bool secondCamera = true;
};

} // namespace Game
