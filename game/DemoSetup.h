#pragma once

#include "app/Ptr.h"
#include "game/Camera.h"
#include "world/IModel.h"
#include "world/OmniLightSource.h"

#include <vector>

namespace Game {

// Set-up steps both demo scenes take the same way.

// Loads the set's shadow-casting props in file order, then its level model, which casts
// no shadow.
void LoadSet(const std::vector<const char*>& propFiles, const char* levelFile,
             std::vector<Sys::Ptr<Korvo::IModel>>& props, Sys::Ptr<Korvo::IModel>& level);

// An omni light whose shadows the casters throw, in the depth-fail form.
Sys::Ptr<Korvo::OmniLightSource> MakeLight(float radius, float sourceSize,
                                           const Math::Vec3f& diffuse,
                                           const Math::Vec3f& ambient,
                                           const Math::Vec3f& specular,
                                           const std::vector<Sys::Ptr<Korvo::IModel>>& casters);

// Camera 1 of both scenes: a narrow view straight down on the set from high above.
Sys::Ptr<Camera> MakeOverheadCamera();

// A camera with the screen's aspect and the scenes' depth range.
Sys::Ptr<Camera> MakeCamera(float fieldOfView);

} // namespace Game
