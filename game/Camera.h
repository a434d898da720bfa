#pragma once

#include "app/Ptr.h"
#include "game/ICamera.h"
#include "game/IMover.h"
#include "world/Viewer.h"

namespace Game {

// Aims a viewer from the camera's position at a target node, world y up. The scene
// moves the camera and the target (directly or by movers) and calls Update() once per
// frame after the movers have run.
class Camera : public ICamera {
public:
    Camera();
    ~Camera() override = default;

    void Update() override;

    Sys::Ptr<INode> GetTarget() const { return target; }
    Sys::Ptr<Korvo::Viewer> GetViewer() const { return viewer; }

    Sys::Ptr<INode> target;
    // The mover the scene associates with this camera; the camera never calls it.
    Sys::Ptr<IMover> mover;
    Sys::Ptr<Korvo::Viewer> viewer;
};

} // namespace Game
