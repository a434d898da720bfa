#version 110
// Caps of a shadow volume. NEAR draws the caster's triangles where they lie; FAR sends
// the same triangles to infinity away from the light (w = 0), the end of the volume that
// the side faces reach; where the volume ends sooner (u_FarGiven 1) the streamed vertices
// already lie on its end and stay as they are (w = 0 for a part that reaches infinity).
//
// ALPHA: the count goes into the alpha channel through blending, one step being the
// current colour's alpha.

attribute vec4 in_Vertex;   // w is 1 where only x, y and z are given

#ifdef FAR
struct LightSource {
    vec3 Position;   // in the drawn model's space
};

uniform LightSource u_LightSource;
uniform float u_FarGiven;
#endif

void main()
{
#ifdef FAR
    if (u_FarGiven > 0.5)
        gl_Position = gl_ModelViewProjectionMatrix * in_Vertex;
    else
        gl_Position =
            gl_ModelViewProjectionMatrix * vec4(in_Vertex.xyz - u_LightSource.Position, 0.0);
#else
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_Vertex.xyz, 1.0);
#endif
#ifdef ALPHA
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
#endif
}
