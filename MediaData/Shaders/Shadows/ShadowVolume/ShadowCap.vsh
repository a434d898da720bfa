#version 110
// Caps of a shadow volume. NEAR draws the caster's triangles where they lie; FAR sends
// the same triangles to infinity away from the light (w = 0), the end of the volume that
// the side faces reach, or to the plane u_ShadowBound where the side faces stop there
// (see ShadowVolume.vsh).
//
// ALPHA: the count goes into the alpha channel through blending, one step being the
// current colour's alpha.

attribute vec3 in_Vertex;

#ifdef FAR
struct LightSource {
    vec3 Position;   // in the drawn model's space
};

uniform LightSource u_LightSource;
uniform vec4 u_ShadowBound;

vec4 Extrude(vec3 point, vec3 direction)
{
    float along = dot(direction, u_ShadowBound.xyz);
    if (u_ShadowBound.w <= 0.0 || along <= 1e-4 * length(direction))
        return vec4(direction, 0.0);
    float rest = u_ShadowBound.w - dot(point - u_LightSource.Position, u_ShadowBound.xyz);
    return vec4(point + direction * (max(rest, 0.0) / along), 1.0);
}
#endif

void main()
{
#ifdef FAR
    gl_Position = gl_ModelViewProjectionMatrix * Extrude(in_Vertex, in_Vertex - u_LightSource.Position);
#else
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_Vertex, 1.0);
#endif
#ifdef ALPHA
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
#endif
}
