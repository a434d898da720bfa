#pragma once

#include "tools/contentgen/Props.h"

#include <vector>

namespace Content {

// The static sets of the two demo scenes, in the order the scenes load them, the level
// last. World units are about an inch; y is up, the floor is y = 0.
std::vector<ModelFile> BuildZoriSet();
std::vector<ModelFile> BuildDazuSet();

// The walking scene's character path: an ellipse of radii 100 (x) and 70 (z) about the
// origin on the floor. The horizontal distance from it to the nearest point of the mesh
// below `maxHeight` (triangles are sampled, not only their corners).
double PathClearance(const TriMesh& mesh, double maxHeight);

} // namespace Content
