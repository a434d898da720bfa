#pragma once

#include "game/Camera.h"
#include "game/IActor.h"
#include "game/IDemo.h"
#include "game/ILightSource.h"
#include "game/PathMover.h"
#include "world/IModel.h"
#include "world/ISkinnedModel.h"

#include <string>
#include <vector>

namespace Game {

// The character walking an ellipse through the industrial set under two cool lights.
// Camera 1 looks down from above; camera 2 rides its own ellipse around the set, aimed
// at a target that rides a third one. C switches cameras, Space the walk cycle.
class Orvel_DAZU : public IDemo {
public:
    // Names the walk cycles are registered under, in cycle order.
    static const std::string WalkNames[4];
    // Speed of the three movers for each walk cycle, world units per second.
    static const float WalkSpeeds[4];

    explicit Orvel_DAZU(Platform::HWND window);
    ~Orvel_DAZU() override;

    void OnKeyDown(uint32_t key) override;
    void OnFrame() override;

    int GetWalkIndex() const { return walkIndex; }
    bool IsSecondCamera() const { return secondCamera; }
    Sys::Ptr<Camera> GetCamera(int number) const { return number == 1 ? camera1 : camera2; }
    Sys::Ptr<Korvo::ISkinnedModel> GetCharacter() const { return character; }
    Sys::Ptr<IActor> GetCharacterActor() const { return actors.front(); }
    // The character's, camera 2's and its target's movers, in update order.
    Sys::Ptr<PathMover> GetMover(int index) const
    {
        return index == 0 ? characterMover : (index == 1 ? cameraMover : targetMover);
    }
    Sys::Ptr<ILightSource> GetLight(int number) const
    {
        return number == 1 ? firstLight : secondLight;
    }

private:
    void CreateLight(Sys::Ptr<ILightSource>& node, float radius, float sourceSize,
                     const Math::Vec3f& specular, const Math::Vec3f& position);

    std::vector<Sys::Ptr<IActor>> actors;
    Sys::Ptr<ILightSource> firstLight;
    Sys::Ptr<ILightSource> secondLight;
    Sys::Ptr<Camera> camera1;
    Sys::Ptr<Camera> camera2;
    Sys::Ptr<PathMover> characterMover;
    Sys::Ptr<PathMover> cameraMover;
    Sys::Ptr<PathMover> targetMover;
    Sys::Ptr<Korvo::IModel> level;
    std::vector<Sys::Ptr<Korvo::IModel>> models;
    Sys::Ptr<Korvo::ISkinnedModel> character;
    std::vector<Sys::Ptr<Korvo::IModel>> casters;
    int walkIndex = 0;
    bool secondCamera = true;
};

} // namespace Game
