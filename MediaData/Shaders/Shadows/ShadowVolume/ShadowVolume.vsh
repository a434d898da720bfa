#version 110
// Side faces of a shadow volume. Each silhouette edge arrives as the quad A, A, B, B with
// in_WCoord 1, 0, 0, 1: w = 1 keeps the vertex on the edge, w = 0 turns it into the
// direction away from the light, a point at infinity in homogeneous coordinates. With a
// projection whose far plane is at infinity (or with depth clamping) these points are
// never clipped, so the volume is closed however far the receivers lie. Where the volume
// ends sooner (u_FarGiven 1), the streamed far vertices already lie where it ends and stay
// as they are: on a plane (w = 1), or, for a part of the mesh that reaches infinity, as the
// direction away from the light (w = 0).
//
// ALPHA: the count goes into the alpha channel through blending, one step being the
// current colour's alpha.

attribute vec4 in_Vertex;   // w is 1 where only x, y and z are given
attribute float in_WCoord;

struct LightSource {
    vec3 Position;   // in the drawn model's space
};

uniform LightSource u_LightSource;
uniform float u_FarGiven;

void main()
{
    vec4 position = in_Vertex;
    if (in_WCoord < 0.5 && u_FarGiven < 0.5)
        position = vec4(in_Vertex.xyz - u_LightSource.Position, 0.0);
    gl_Position = gl_ModelViewProjectionMatrix * position;
    // For the cut of what lies nearer than every surface (user clip plane 0).
    gl_ClipVertex = gl_ModelViewMatrix * position;
#ifdef ALPHA
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
#endif
}
