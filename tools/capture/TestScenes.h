#pragma once

#include "app/Ptr.h"
#include "tools/raytrace/RayTracer.h"
#include "world/IModel.h"
#include "world/OmniLightSource.h"
#include "world/Viewer.h"

#include <string>
#include <vector>

namespace Capture {

// A small scene for the shadow checks: a floor (the world, never a caster), casters above
// it, one light and a camera.
struct TestScene {
    Sys::Ptr<Korvo::IModel> Floor;
    std::vector<Sys::Ptr<Korvo::IModel>> Casters;
    Sys::Ptr<Korvo::OmniLightSource> Light;
    Sys::Ptr<Korvo::Viewer> Camera;
};

// "box", "sphere", "casters" (two overlapping boxes at different heights), "crossing" (two
// bars whose shadows cross), "stacked" (a slab shadowing a sphere), "tower" (six slabs whose
// shadows overlap), "pipe" (a thin tube), "notch" (a concave block), "packed" (separate parts
// around the light in one mesh) or "overhead" (a box, and a slab whose shadow holds the eye);
// the light's source size is its sphere radius. Throws
// Sys::Exception for an unknown name.
TestScene BuildTestScene(const std::string& name, float sourceSize, int width, int height);

// The scene for the reference ray tracer: the floor as object 0, then each caster, in world
// space; and the scene's camera at the given picture size.
RayTrace::Scene TracedScene(const TestScene& scene);
RayTrace::Camera TracedCamera(const TestScene& scene, int width, int height);

} // namespace Capture
