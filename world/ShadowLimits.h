#pragma once

#include "math/Vec3.h"

namespace GL {
class IProgram;
}

namespace Korvo {

// Where the surfaces that one light lights in one frame can lie, in the space of the model
// whose shadow is drawn: within the light's reach, inside the view frustum cut at the
// scene's farthest depth (its apex and four far corners) and inside the box around the
// scene (eight corners). A shadow needs to reach no further than these.
//
// Across any axis from the light, all of them lie on the light's side of one plane, at
// the smallest of the three distances along it. A shadow volume ends on that plane: for
// a mesh whose bounding sphere lies apart from the light, every ray from the light through
// the mesh crosses the plane, and the cut volume, closed there by its far cap, holds every
// point of the infinite one on the light's side. The wedges choose their own axis in their
// shader from the same points.
struct ShadowLimits {
    Math::Vec3f Light;
    float Reach = 0.0f;     // the light's radius; 0: no limit at all
    bool HasView = false;
    Math::Vec3f View[5];
    bool HasScene = false;
    Math::Vec3f Scene[8];

    // How far along the unit axis from the light the lit surfaces can lie, with a margin
    // that keeps a far end off the farthest of them.
    float Farthest(const Math::Vec3f& axis) const;

    // The plane for a mesh with the given box: xyz the unit axis from the light to the
    // box's centre, w the distance along it; all zero (no bound) without a reach or when the
    // light lies within the box's sphere. `beyond` is set when the whole box, and so its
    // shadow, lies past the plane.
    void MeshBound(const Math::Vec3f& boxMin, const Math::Vec3f& boxMax, float bound[4],
                   bool& beyond) const;

    // "u_ShadowBound" of a volume program, for the mesh with the given box.
    void SetVolumeUniform(const GL::IProgram& program, const Math::Vec3f& boxMin,
                          const Math::Vec3f& boxMax) const;
    // "u_ShadowBound" (the reach in w), "u_ViewHull", "u_SceneHull" and "u_HullUse" of a
    // wedge program.
    void SetWedgeUniforms(const GL::IProgram& program) const;
};

} // namespace Korvo
