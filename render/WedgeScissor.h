#pragma once

#include "math/Mat4.h"
#include "shadow/IWedgeScissor.h"
#include "world/ShadowLimits.h"

namespace Korvo {

// The window rectangle of a batch of one caster's penumbra wedges for one light, worked out
// from the edges alone, beside the wedge program and without its construction.
//
// A wedge changes a pixel only where its edge crosses the light's sphere seen from the
// pixel's surface point P: P = X + t (X - S) for a point X of the edge, a point S of the
// sphere and t >= 0. From an end X at the distance h from the light those rays fill the cone
// of half-angle asin(r / h) around the direction away from the light, which lies within the
// pyramid of four directions around it. For a given S and t the point is affine in X, so the
// edge's points lie within the hull of its two ends and of their eight directions taken from
// either end. Lit surfaces lie on the light's side of the plane across any axis at
// ShadowLimits::Farthest; where each of the eight directions heads across the axis, that
// hull up to the plane is the hull of the two ends and of where the rays from them meet the
// plane. The axis taken is the ends' mean direction from the light or one of the caster's
// six, whichever ends those rays soonest.
//
// The rectangle holds the window projection of every edge's ten points, less what lies
// nearer than the near plane, with a margin: the sphere taken a fiftieth wider, the
// pyramids a hundredth, and two pixels around.
class WedgeScissor : public IWedgeScissor {
public:
    // `limits` in the caster's space (the light among them), `sourceRadius` the radius of
    // the light's sphere, `toClip` from the caster's space to clip space under a perspective
    // projection whose near plane lies at `nearPlane` in front of the eye, and the target's
    // viewport of width x height pixels at the origin.
    WedgeScissor(const ShadowLimits& limits, float sourceRadius, const Math::Mat4& toClip,
                 float nearPlane, int width, int height);

    // False where an end lies so near the light, or its cone opens so wide, that no plane
    // past the lit surfaces closes the edge's rays.
    bool Rectangle(const IMeshAdjacency::Edge* edges, int count, int rect[4]) const override;

private:
    // The four directions around the cone of rays from the sphere through `end`, and the
    // cone's axis.
    bool Directions(const Math::Vec3f& end, Math::Vec3f* directions, Math::Vec3f& axis) const;
    // The edge's ten points in clip space.
    bool EdgeHull(const IMeshAdjacency::Edge& edge, float (*clip)[4]) const;

    ShadowLimits Limits;
    float AxisReach[6];   // Farthest along ShadowLimits::Axes
    float SourceRadius;
    Math::Mat4 ToClip;
    float NearPlane;
    int Width, Height;
};

} // namespace Korvo
