#pragma once

#include "render/WorldRenderer.h"
#include "tools/raytrace/RayTracer.h"
#include "world/IPointLightSource.h"

// The geometry a frame of the world renderer was drawn from, in world space, as the ray
// tracer's scenes. Skinned meshes give the positions of their last skinning, so the
// scenes show the pose of the last frame drawn.
namespace ShadowRef {

// What the camera sees: the world model and the models, one object per mesh (so that the
// band left out around changes of the object seen covers every edge between meshes).
RayTrace::Scene SeenSurfaces(const Korvo::WorldRenderer& world);

// What hides the light from the surfaces: the light's casters whose shadows are drawn.
RayTrace::Scene LightOccluders(const Korvo::IPointLightSource& light);

} // namespace ShadowRef
