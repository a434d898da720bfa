#pragma once

#include "math/Mat4.h"
#include "shadow/IWedgeScissor.h"
#include "world/ShadowLimits.h"

namespace Korvo {

// The window rectangle of a batch of one caster's penumbra wedges for one light, worked out
// from the edges alone, beside the wedge program and without its construction.
//
// A wedge changes a pixel only where its edge crosses the light's sphere seen from the
// pixel's surface point P: P lies on a ray from a point S of the sphere through a point X of
// the edge, past X. For an end X at the distance h from the light those rays fill the cone
// from X around the direction a away from the light, of half-angle asin(r / h); a ray's
// point is affine in X for a given S and distance along, so the rays through the edge's
// other points lie within the hull of its two ends' cones. Only lit surfaces matter, and
// they lie on the light's side of the plane across a at ShadowLimits::Farthest(a): so only
// the cone up to the depth D = Farthest(a) - h along a does, which lies within the pyramid
// from X to the square of half-side D tan(asin(r / h)) there. The rectangle holds the
// window projection of every edge's two pyramids, less what lies nearer than the near
// plane, with a margin: the sphere taken a fiftieth wider, the squares a hundredth, and two
// pixels around.
class WedgeScissor : public IWedgeScissor {
public:
    // `limits` in the caster's space (the light among them), `sourceRadius` the radius of
    // the light's sphere, `toClip` from the caster's space to clip space under a perspective
    // projection whose near plane lies at `nearPlane` in front of the eye, and the target's
    // viewport of width x height pixels at the origin.
    WedgeScissor(const ShadowLimits& limits, float sourceRadius, const Math::Mat4& toClip,
                 float nearPlane, int width, int height);

    // False where an end lies so near the light that its cone opens too wide to bound.
    bool Rectangle(const IMeshAdjacency::Edge* edges, int count, int rect[4]) const override;

private:
    // The pyramid of the end `end` in clip space: the apex, then the square's corners.
    bool Pyramid(const Math::Vec3f& end, float (*clip)[4]) const;

    ShadowLimits Limits;
    float SourceRadius;
    Math::Mat4 ToClip;
    float NearPlane;
    int Width, Height;
};

} // namespace Korvo
