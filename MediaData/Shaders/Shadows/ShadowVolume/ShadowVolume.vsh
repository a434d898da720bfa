#version 110
// Side faces of a shadow volume. Each silhouette edge arrives as the quad A, A, B, B with
// in_WCoord 1, 0, 0, 1: w = 1 keeps the vertex on the edge, w = 0 turns it into the
// direction away from the light, a point at infinity in homogeneous coordinates. With a
// projection whose far plane is at infinity (or with depth clamping) these points are
// never clipped, so the volume is closed however far the receivers lie.
//
// u_ShadowBound, when its w is above 0, ends the volume sooner: xyz is a unit axis
// pointing away from the light towards the caster and w how far along it the frame's lit
// surfaces can lie (the light's reach, the view, the scene). The far vertices then stop
// on that plane, and the volume is closed there by the far caps drawn the same way; it
// still holds every point of the infinite volume on the light's side of the plane.
//
// ALPHA: the count goes into the alpha channel through blending, one step being the
// current colour's alpha.

attribute vec3 in_Vertex;
attribute float in_WCoord;

struct LightSource {
    vec3 Position;   // in the drawn model's space
};

uniform LightSource u_LightSource;
uniform vec4 u_ShadowBound;

// The point where the ray from `point` along `direction` meets the bounding plane (the
// point itself when it lies beyond), or the direction at infinity without a bound.
vec4 Extrude(vec3 point, vec3 direction)
{
    float along = dot(direction, u_ShadowBound.xyz);
    if (u_ShadowBound.w <= 0.0 || along <= 1e-4 * length(direction))
        return vec4(direction, 0.0);
    float rest = u_ShadowBound.w - dot(point - u_LightSource.Position, u_ShadowBound.xyz);
    return vec4(point + direction * (max(rest, 0.0) / along), 1.0);
}

void main()
{
    vec4 position = vec4(in_Vertex, 1.0);
    if (in_WCoord < 0.5)
        position = Extrude(in_Vertex, in_Vertex - u_LightSource.Position);
    gl_Position = gl_ModelViewProjectionMatrix * position;
#ifdef ALPHA
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
#endif
}
