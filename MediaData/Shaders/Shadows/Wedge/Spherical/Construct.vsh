#version 110
// Builds one corner of the penumbra wedge of a silhouette edge E0 E1 (both in every
// vertex of the wedge; in_VertexData.x says which corner this vertex is).
//
// The wedge must hold every point from which the edge, seen against the light's sphere,
// crosses it. Across the edge this is the region between the two planes that contain the
// edge and touch the sphere: with the light centre at distance h from the edge line and
// the sphere radius r, they leave the edge at the angle asin(r / h) on either side of the
// direction to the light and touch the sphere at T+ and T-. Along the edge the region
// reaches past the ends, since a ray from the far side of the sphere through an end
// still leaves it sideways: the side faces are therefore extruded from T+- moved by r
// along the edge, away from the end they pass through. The corners are:
//   1 = E0, 2 = E1 (on the edge)
//   0 = E0 away from T+ + r e, 3 = E1 away from T+ - r e   (plane "+")
//   4 = E1 away from T- - r e, 5 = E0 away from T- + r e   (plane "-")
// with e the unit edge direction. The extruded corners are directions (w = 0), so the
// wedge reaches infinity like the shadow volume does. With "+" taken on the side of
// cross(edge, toward light) the index pattern of the wedge buffer winds every face
// outward, and the wedge is convex: a pixel whose surface lies inside it sees exactly
// one front face in front of the surface.
//
// FRAG: also hands the coverage shader the edge in world space.

attribute vec3 in_Edge0;
attribute vec3 in_Edge1;
attribute vec2 in_VertexData;

struct LightSource {
    vec3 Position;        // in the drawn model's space
    vec3 WorldPosition;
    float Radius;         // radius of the light's own sphere
    float ScaledRadius;
    float InvRadius;
};

uniform LightSource u_LightSource;
uniform mat4 u_ModelMatrix;

#ifdef FRAG
varying vec3 v_Edge0;
varying vec3 v_Edge1;
#endif

void main()
{
    vec3 light = u_LightSource.Position;
    vec3 edge = in_Edge1 - in_Edge0;
    float edgeLength = max(length(edge), 1e-6);
    vec3 along = edge / edgeLength;

    // Foot of the perpendicular from the light centre onto the edge line.
    vec3 foot = in_Edge0 + along * dot(light - in_Edge0, along);
    vec3 toLight = light - foot;
    float h = max(length(toLight), 1e-6);
    vec3 up = toLight / h;
    vec3 side = cross(along, up);

    // A sphere that reaches the edge line has no tangent plane through it; keep the
    // wedge open but finite in angle.
    float sinA = min(u_LightSource.Radius / h, 0.95);
    float cosA = sqrt(1.0 - sinA * sinA);
    vec3 tangentPlus = foot + (h * cosA) * (cosA * up + sinA * side);
    vec3 tangentMinus = foot + (h * cosA) * (cosA * up - sinA * side);
    vec3 slide = u_LightSource.Radius * along;

    int corner = int(in_VertexData.x + 0.5);
    vec4 position;
    if (corner == 1)
        position = vec4(in_Edge0, 1.0);
    else if (corner == 2)
        position = vec4(in_Edge1, 1.0);
    else if (corner == 0)
        position = vec4(in_Edge0 - tangentPlus - slide, 0.0);
    else if (corner == 3)
        position = vec4(in_Edge1 - tangentPlus + slide, 0.0);
    else if (corner == 4)
        position = vec4(in_Edge1 - tangentMinus + slide, 0.0);
    else
        position = vec4(in_Edge0 - tangentMinus - slide, 0.0);
    gl_Position = gl_ModelViewProjectionMatrix * position;

#ifdef FRAG
    v_Edge0 = (u_ModelMatrix * vec4(in_Edge0, 1.0)).xyz;
    v_Edge1 = (u_ModelMatrix * vec4(in_Edge1, 1.0)).xyz;
#endif
}
