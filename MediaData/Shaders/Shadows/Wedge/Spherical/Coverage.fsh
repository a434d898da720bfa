#version 110
// Coverage of the light's sphere by one silhouette edge, as a correction of the hard
// shadow.
//
// How it works. The hard pass decides visibility from the light's centre only: a point
// P is in the umbra of an edge A B (wound as the lit face wound it) exactly when the
// centre L lies on the positive side of the plane through P, A and B, that is when
// dot(L - P, cross(A - P, B - P)) > 0. Seen from P the light is a disc of radius r
// around L, and the edge line is a chord of that disc: the part of the disc on the
// positive side of the same plane is hidden, the rest is seen. With t the signed
// distance of L from the plane, the chord lies at x = t / r in units of the radius, so
// for -1 < x < 1 the hidden share of the disc is
//     F(x) = 1 - S(x)                 for x >= 0
//     F(x) = S(-x)                    for x <  0
// where S(a) = (theta - sin(theta)) / (2 pi) is the share of the disc cut off by a chord
// at distance a, theta = 2 acos(a) being the angle the chord subtends at the centre.
// The hard pass counted F = 1 (x > 0) or F = 0 (x <= 0), so this edge adds the signed
// correction  c = sign(x) S(|x|)  to the visibility: the light comes back partly inside
// the umbra and fades out partly outside it. The fragments exist only inside the wedge,
// the region where the chord really crosses the disc; further out the hard answer is the
// right one. Summed over the silhouette and added to the hard value, the result is 1
// where the sphere is fully visible, 0 where it is hidden, and the penumbra widens with
// r and with the distance from the caster (the disc grows relative to the edge's offset).
//
// The angles the chord's ends make at the disc centre come from the angle cube map
// u_TexAtan2 (the angle of a direction around the z axis, as a fraction of a turn)
// instead of inverse trigonometry; their wrapped distance, the area table's function,
// gives theta. The chord's ends are at (a, +-sqrt(1 - a^2)) in the disc's frame.
//
// Each edge treats its chord as a whole line, which ignores the edge's ends: near the
// silhouette's corners neighbouring wedges overlap or leave gaps, and the final clamp
// in the combine pass keeps the sum inside [0, 1].

#extension GL_ARB_texture_rectangle : enable

struct LightSource {
    vec3 Position;
    vec3 WorldPosition;
    float Radius;
    float ScaledRadius;
    float InvRadius;
};

uniform LightSource u_LightSource;
uniform sampler2DRect u_TexCoordinate;
uniform samplerCube u_TexAtan2;

varying vec3 v_Edge0;
varying vec3 v_Edge1;

const float TwoPi = 6.2831853;

// Share of a unit disc beyond a chord at distance a (0 <= a <= 1) from its centre.
float ChordShare(float a)
{
    float h = sqrt(max(1.0 - a * a, 0.0));
    float angle0 = textureCube(u_TexAtan2, vec3(a, h, 0.0)).r;
    float angle1 = textureCube(u_TexAtan2, vec3(a, -h, 0.0)).r;
    float turn = abs(angle0 - angle1);
    if (turn > 0.5)
        turn = 1.0 - turn;
    float theta = TwoPi * turn;
    return (theta - sin(theta)) / TwoPi;
}

void main()
{
    vec3 surface = texture2DRect(u_TexCoordinate, gl_FragCoord.xy).xyz;
    vec3 normal = cross(v_Edge0 - surface, v_Edge1 - surface);
    float normalLength = length(normal);
    if (normalLength < 1e-6)
        discard;
    float t = dot(u_LightSource.WorldPosition - surface, normal) / normalLength;
    float x = clamp(t * u_LightSource.InvRadius, -1.0, 1.0);
    float coverage = ChordShare(abs(x));
    gl_FragColor = vec4(0.0, 0.0, 0.0, x > 0.0 ? coverage : -coverage);
}
