#version 110
// Coverage of the light's sphere by one silhouette edge, as a correction of the hard
// shadow.
//
// How it works. Seen from the surface point P, the light is a disc of radius r around its
// centre L, and the caster's silhouette is a polygon. Split the polygon into the
// triangles that each edge A B forms with the disc centre C. The hidden part of the disc
// is then the sum, over the edges, of the signed areas of (C, A, B) clipped to the disc;
// the hard pass already counted, instead, the whole disc when C lies inside the polygon,
// which is the sum over the edges of the signed sectors of the disc between the
// directions of A and B. An edge therefore corrects the hard answer by
//     sector(A, B) - area((C, A, B) clipped to the disc),
// which is zero for an edge that misses the disc. For an edge clipped to the disc as
// Q1 Q2 the difference is the piece between the chord Q1 Q2 and the arc from Q1 to Q2:
//     c = (theta - cross(Q1, Q2)) / (2 pi)        in units of the disc's area,
// with theta the signed angle from Q1 to Q2 at C, in a frame where the disc has radius 1
// and (u, v, towards the light) is right-handed. Then c > 0 exactly when C lies to the
// left of A B, which is when P is in the edge's hard shadow (the centre lies on the
// positive side of the plane through P, A, B for an edge wound as the lit face winds it):
// the light comes back partly inside the umbra, and fades out partly outside it.
//
// The edges whose wedge holds P are the only ones that can cross the disc, so drawing
// the wedges and adding c in each fragment gives every pixel the sum it needs; the
// combine pass adds the hard value and clamps to [0, 1]: 1 where the sphere is fully
// visible, 0 where it is hidden. The disc grows against the edge's offset with the
// distance from the caster and with r, and so does the penumbra.
//
// The edge is projected from P onto the plane through L across the line of sight, after
// cutting away any part behind P. The angles come from the angle cube map u_TexAtan2 (the
// angle of a direction around z, as a fraction of a turn) instead of inverse
// trigonometry; their difference, wrapped into half a turn either way, is the signed
// form of the area table's function.

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

float Turn(vec2 p)
{
    return textureCube(u_TexAtan2, vec3(p, 0.0)).r;
}

void main()
{
    vec3 surface = texture2DRect(u_TexCoordinate, gl_FragCoord.xy).xyz;
    vec3 toLight = u_LightSource.WorldPosition - surface;
    float distance = length(toLight);
    vec3 w = toLight / distance;
    vec3 helper = abs(w.x) < 0.9 ? vec3(1.0, 0.0, 0.0) : vec3(0.0, 1.0, 0.0);
    vec3 u = normalize(cross(helper, w));
    vec3 v = cross(w, u);

    // Keep the part of the edge in front of P, then project it onto the light's plane.
    vec3 a = v_Edge0 - surface;
    vec3 b = v_Edge1 - surface;
    float da = dot(a, w);
    float db = dot(b, w);
    float nearest = 1e-3 * distance;
    if (da < nearest && db < nearest) {
        gl_FragColor = vec4(0.0);
        return;
    }
    if (da < nearest)
        a = mix(a, b, (nearest - da) / (db - da));
    else if (db < nearest)
        b = mix(b, a, (nearest - db) / (da - db));
    a *= distance / dot(a, w);
    b *= distance / dot(b, w);
    // From P the sphere fills the cone of half-angle asin(r / distance), which meets the
    // light's plane in a disc a little wider than the sphere itself.
    float sinCone = min(u_LightSource.Radius / distance, 0.95);
    float scale = u_LightSource.InvRadius * sqrt(1.0 - sinCone * sinCone);
    vec2 a2 = vec2(dot(a, u), dot(a, v)) * scale;
    vec2 b2 = vec2(dot(b, u), dot(b, v)) * scale;

    // Clip the segment to the unit disc.
    vec2 d = b2 - a2;
    float qa = dot(d, d);
    float qb = dot(a2, d);
    float qc = dot(a2, a2) - 1.0;
    float discriminant = qb * qb - qa * qc;
    if (qa < 1e-12 || discriminant <= 0.0) {
        gl_FragColor = vec4(0.0);
        return;
    }
    float root = sqrt(discriminant);
    float t0 = max((-qb - root) / qa, 0.0);
    float t1 = min((-qb + root) / qa, 1.0);
    if (t0 >= t1) {
        gl_FragColor = vec4(0.0);
        return;
    }
    vec2 q0 = a2 + t0 * d;
    vec2 q1 = a2 + t1 * d;

    // The signed angle from Q1 to Q2 turns the way the chord does around the centre, so
    // its sign is that of cross(Q1, Q2). The table's angles are quantised: near half a
    // turn (a chord through the centre) their difference can wrap to the wrong side, and
    // near no turn at all it can have the wrong sign by a step.
    float chord = q0.x * q1.y - q0.y * q1.x;
    float turn = Turn(q1) - Turn(q0);
    turn -= floor(turn + 0.5);
    if (chord > 0.0 && turn < 0.0)
        turn = turn < -0.25 ? turn + 1.0 : 0.0;
    else if (chord < 0.0 && turn > 0.0)
        turn = turn > 0.25 ? turn - 1.0 : 0.0;
    float coverage = (TwoPi * turn - chord) / TwoPi;
    gl_FragColor = vec4(0.0, 0.0, 0.0, coverage);
}
