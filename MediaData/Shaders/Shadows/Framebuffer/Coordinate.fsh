#version 110
// Writes the world position into the colour channels of a float target.
//
// NORMAL_IN_ALPHA (32-bit float targets): alpha holds the plane of the triangle drawn here,
// for the combine pass's horizon. Its normal, turned towards the viewer, comes from the
// position's screen-space derivatives, which within one triangle follow its plane exactly;
// it is stored octahedron-mapped as two 11-bit integers, qx * 2048 + qy, which a 32-bit
// float holds exactly. -1 marks a pixel whose triangle is seen edge-on.

varying vec3 v_WorldPosition;

#ifdef NORMAL_IN_ALPHA
float PackNormal(vec3 normal)
{
    float lengthN = length(normal);
    if (lengthN < 1e-20)
        return -1.0;
    vec3 n = normal / lengthN;
    vec2 p = n.xy / (abs(n.x) + abs(n.y) + abs(n.z));
    if (n.z < 0.0)
        p = (1.0 - abs(p.yx)) * vec2(p.x >= 0.0 ? 1.0 : -1.0, p.y >= 0.0 ? 1.0 : -1.0);
    vec2 q = floor((p * 0.5 + 0.5) * 2047.0 + 0.5);
    return q.x * 2048.0 + q.y;
}
#endif

void main()
{
#ifdef NORMAL_IN_ALPHA
    vec3 normal = cross(dFdx(v_WorldPosition), dFdy(v_WorldPosition));
    gl_FragColor = vec4(v_WorldPosition, PackNormal(normal));
#else
    gl_FragColor = vec4(v_WorldPosition, 1.0);
#endif
}
