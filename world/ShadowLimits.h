#pragma once

#include "math/Vec3.h"

namespace Korvo {

// Where the surfaces that one light lights in one frame can lie, in the space of the model
// whose shadow is drawn: within the light's reach, inside the view frustum cut at the
// scene's farthest depth (its apex and four far corners) and inside the box around the
// scene (eight corners). A shadow needs to reach no further than these.
//
// Across any axis from the light, all of them lie on the light's side of one plane, at the
// smallest of the three distances along it. A mesh that lies wholly past such a plane
// shadows nothing lit.
struct ShadowLimits {
    Math::Vec3f Light;
    float Reach = 0.0f;     // the light's radius; 0: the light lights nothing
    bool HasView = false;
    Math::Vec3f View[5];
    bool HasScene = false;
    Math::Vec3f Scene[8];

    // The directions along the model space's axes: +x, -x, +y, -y, +z, -z. The wedge
    // program's "u_AxisReach" holds Farthest along each, in this order.
    static constexpr Math::Vec3f Axes[6] = {Math::Vec3f(1, 0, 0),  Math::Vec3f(-1, 0, 0),
                                            Math::Vec3f(0, 1, 0),  Math::Vec3f(0, -1, 0),
                                            Math::Vec3f(0, 0, 1),  Math::Vec3f(0, 0, -1)};

    // How far along the unit axis from the light the lit surfaces can lie, with a margin
    // that keeps a far end off the farthest of them.
    float Farthest(const Math::Vec3f& axis) const;

    // Whether the whole box, and so every shadow it casts, lies past the lit surfaces: along
    // the axis from the light to the box's centre (or to its nearest point where the light
    // lies within the box's sphere), farther than Farthest. False for a light inside it.
    bool Beyond(const Math::Vec3f& boxMin, const Math::Vec3f& boxMax) const;

    // Where the shadow volume of a mesh with this box may end: on a plane across `axis` at
    // `distance` from the light, past the lit surfaces, such that every corner of the box
    // lies on the light's side of it and well ahead of the light along the axis, so that
    // every ray from the light through the mesh meets the plane at a moderate distance.
    // The axis runs to the box's centre, or with `anyAxis` it is the one of those tried (to
    // the box's centre, to its nearest point, along the box's sides) whose plane the rays
    // reach soonest past the box. False (the volume reaches infinity) where none will do.
    bool VolumeEnd(const Math::Vec3f& boxMin, const Math::Vec3f& boxMax, Math::Vec3f& axis,
                   float& distance, bool anyAxis) const;
};

} // namespace Korvo
