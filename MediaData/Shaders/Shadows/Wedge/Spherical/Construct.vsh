#version 110
// Builds one corner of the penumbra wedge of a silhouette edge E0 E1 (both in every
// vertex of the wedge; in_VertexData.x says which corner this vertex is).
//
// The wedge must hold every point from which the edge, seen against the light's sphere,
// crosses it: the union of the shadow cones that the sphere casts through the points of the
// edge. It is the intersection of four half-spaces:
//   - across the edge, the two planes that contain the edge and touch the sphere, at T+ and
//     T- (with the light centre at distance h from the edge line and the sphere radius r,
//     they leave the edge at the angle asin(r / h) on either side of the direction to the
//     light);
//   - at each end X, a plane through X that touches the sphere on the side of the other
//     end. The shadow cone through X lies behind that plane, and so do the cones through
//     every other point of the edge. Its normal lies in the plane of the edge and the
//     light's centre, at the angle asin(r / |L - X|) from the direction to the light.
// The far corners are the directions in which a side plane meets the plane "+" or "-",
// away from the light:
//   1 = E0, 2 = E1 (on the edge)
//   0 = E0 along planes "+" and side 0,   3 = E1 along planes "+" and side 1
//   4 = E1 along planes "-" and side 1,   5 = E0 along planes "-" and side 0
// The far corners are directions (w = 0), so the wedge reaches infinity like the shadow
// volume does. With "+" taken on the side of cross(edge, toward light) the index pattern of
// the wedge buffer winds every face outward, and the wedge is convex: a pixel whose surface
// lies inside it sees exactly one front face in front of the surface.
//
// Counted in the stencil, the wedge is cut where the frame's lit surfaces end. They lie
// within the light's reach (u_ShadowBound.w; 0: no cut), within the view frustum cut at the
// scene's depth (the five points u_ViewHull, where u_HullUse.x is 1) and within the scene's
// box (the eight corners u_SceneHull, where u_HullUse.y is 1), so all of them lie on the
// light's side of a plane across any axis, at the smallest of the three distances along it.
// The axis taken is the wedge's mean far direction, or one of the caster's own axes where
// every far corner heads across it at a tenth or more and the corners reach its plane
// sooner; the far corners stop on that plane. Every vertex of a wedge chooses from the same
// inputs, so all of them choose alike. The cut wedge is the hull of the edge and the four
// points, which holds every point of the whole wedge on the light's side of the plane as
// long as all four corners head across it; a wedge with a corner that heads across no axis
// keeps all four at infinity. Cut or whole, the count at
// a lit surface is the same: 1 inside the wedge, 0 outside.
//
// FRAG: the coverage draw, which also hands the coverage shader the edge in world space.
// It keeps the whole wedge. The coverage of an edge whose plane through the light's centre
// passes through the surface is half the disc, given or taken as rounding decides, and the
// hard count must decide the same way; the edge handed over through other faces (cut, or
// not interpolated at all) rounds differently, and single pixels deep in the umbra came out
// half lit.

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
uniform vec4 u_ShadowBound;
uniform vec3 u_ViewHull[5];
uniform vec3 u_SceneHull[8];
uniform vec2 u_HullUse;
// Reach() along the caster's axes +x, -x, +y, -y, +z, -z, worked out once for the caster.
uniform float u_AxisReach[6];

#ifdef FRAG
varying vec3 v_Edge0;
varying vec3 v_Edge1;
#endif

// Normal of the side plane at the end X of the edge (outward: the direction along the
// edge away from the other end), pointing away from the wedge: the plane holds X and
// touches the sphere on the side of the other end.
vec3 SideNormal(vec3 end, vec3 outward, vec3 light)
{
    vec3 toLight = light - end;
    float distance = max(length(toLight), 1e-6);
    vec3 d = toLight / distance;
    vec3 p = outward - dot(outward, d) * d;
    float lengthP = length(p);
    // The light's centre on the edge line: any direction across it will do.
    p = lengthP > 1e-6 ? p / lengthP : normalize(cross(d, abs(d.x) < 0.9 ? vec3(1.0, 0.0, 0.0)
                                                                        : vec3(0.0, 1.0, 0.0)));
    float sinB = min(u_LightSource.Radius / distance, 0.95);
    float cosB = sqrt(1.0 - sinB * sinB);
    // Into the wedge is -normal; the sphere lies on the outer side: dot(normal, L - X) = r.
    return sinB * d + cosB * p;
}

// The direction of the line in which the side plane at the end meets the face plane with
// the given normal, on the far side of the edge: within the face plane, away from the point
// where the plane touches the sphere (towardTangent points there from the edge line). When
// the sphere reaches the edge's line there is no such point; the corner then simply points
// away from the light.
vec3 FarCorner(vec3 end, vec3 outward, vec3 faceNormal, vec3 towardTangent, bool touching,
               vec3 light)
{
    // An edge that runs almost straight away from the light has, at its far end, a side
    // plane that leans back over the edge (the edge's own continuation lies inside the
    // shadow cone through that end). The six corners would then fold the wedge over
    // itself, and the folded part counts -1 in the stencil, which cancels the +1 of a
    // neighbouring wedge drawn in the same batch. That end is left open instead: both far
    // corners run along the edge line, and the wedge is bounded by the faces "+", "-" and
    // the other end's side plane only, which still holds every point it must.
    vec3 sideNormal = SideNormal(end, outward, light);
    if (dot(sideNormal, outward) < 0.1)
        return outward;
    vec3 direction = cross(faceNormal, sideNormal);
    float lengthD = length(direction);
    direction = lengthD > 1e-6 ? direction / lengthD : normalize(end - light);
    float behind = touching ? -dot(direction, towardTangent) : dot(direction, end - light);
    return behind < 0.0 ? -direction : direction;
}

// How far along the axis from the light the frame's lit surfaces can lie, with a margin
// that keeps the wedge's far face off the farthest of them.
float Reach(vec3 light, vec3 axis)
{
    float reach = u_ShadowBound.w;
    if (u_HullUse.x > 0.5) {
        float farthest = dot(u_ViewHull[0] - light, axis);
        for (int i = 1; i < 5; ++i)
            farthest = max(farthest, dot(u_ViewHull[i] - light, axis));
        reach = min(reach, farthest);
    }
    if (u_HullUse.y > 0.5) {
        float farthest = dot(u_SceneHull[0] - light, axis);
        for (int i = 1; i < 8; ++i)
            farthest = max(farthest, dot(u_SceneHull[i] - light, axis));
        reach = min(reach, farthest);
    }
    return reach * 1.01 + 1e-3;
}

#ifndef FRAG
// The axes a cut may lie across: the wedge's mean far direction (i = 0), then the six along
// the caster's own axes.
vec3 Candidate(int i, vec3 mean)
{
    if (i == 1)
        return vec3(1.0, 0.0, 0.0);
    if (i == 2)
        return vec3(-1.0, 0.0, 0.0);
    if (i == 3)
        return vec3(0.0, 1.0, 0.0);
    if (i == 4)
        return vec3(0.0, -1.0, 0.0);
    if (i == 5)
        return vec3(0.0, 0.0, 1.0);
    if (i == 6)
        return vec3(0.0, 0.0, -1.0);
    return mean;
}

// How far the four far corners run from their ends to the plane across the axis at `reach`
// from the light, added up; negative where a corner heads across it no more than `least`.
float RunOn(vec3 light, vec3 axis, float reach, float least, vec3 far0, vec3 far3, vec3 far4,
            vec3 far5)
{
    float d0 = dot(far0, axis);
    float d3 = dot(far3, axis);
    float d4 = dot(far4, axis);
    float d5 = dot(far5, axis);
    if (min(min(d0, d3), min(d4, d5)) <= least)
        return -1.0;
    float rest0 = max(reach - dot(in_Edge0 - light, axis), 0.0);
    float rest1 = max(reach - dot(in_Edge1 - light, axis), 0.0);
    return rest0 / d0 + rest1 / d3 + rest1 / d4 + rest0 / d5;
}
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
    // Outward normals of the planes "+" and "-": each touches the sphere where its radius
    // meets the plane at a right angle.
    vec3 normalPlus = normalize(tangentPlus - light);
    vec3 normalMinus = normalize(tangentMinus - light);

    int corner = int(in_VertexData.x + 0.5);
    vec4 position;
    if (corner == 1) {
        position = vec4(in_Edge0, 1.0);
    } else if (corner == 2) {
        position = vec4(in_Edge1, 1.0);
    } else {
        bool touching = u_LightSource.Radius < 0.95 * h;
        vec3 far0 = FarCorner(in_Edge0, -along, normalPlus, tangentPlus - foot, touching, light);
        vec3 far3 = FarCorner(in_Edge1, along, normalPlus, tangentPlus - foot, touching, light);
        vec3 far4 = FarCorner(in_Edge1, along, normalMinus, tangentMinus - foot, touching, light);
        vec3 far5 = FarCorner(in_Edge0, -along, normalMinus, tangentMinus - foot, touching, light);
        vec3 end = corner == 0 || corner == 5 ? in_Edge0 : in_Edge1;
        vec3 direction = corner == 0 ? far0 : corner == 3 ? far3 : corner == 4 ? far4 : far5;
        // Every vertex of the wedge decides alike, from the same four corners.
        vec3 mean = far0 + far3 + far4 + far5;
        float meanLength = length(mean);
        vec3 axis = meanLength > 1e-3 ? mean / meanLength : vec3(0.0);
#ifdef FRAG
        position = vec4(direction, 0.0);
#else
        // Of the mean far direction, where every corner heads across it at all, and the
        // caster's own axes, where every corner heads across at a tenth or more, the axis
        // whose plane the corners reach soonest: a wedge running down at a slant from a
        // lamp ends just under the floor, not past the room's far corner.
        float meanReach = Reach(light, axis);
        float best = RunOn(light, axis, meanReach, 1e-3, far0, far3, far4, far5);
        vec3 chosen = axis;
        float chosenReach = meanReach;
        for (int i = 0; i < 6; ++i) {
            vec3 candidate = Candidate(i + 1, axis);
            float runOn = RunOn(light, candidate, u_AxisReach[i], 0.1, far0, far3, far4, far5);
            if (runOn >= 0.0 && (best < 0.0 || runOn < best)) {
                best = runOn;
                chosen = candidate;
                chosenReach = u_AxisReach[i];
            }
        }
        if (u_ShadowBound.w <= 0.0 || best < 0.0) {
            position = vec4(direction, 0.0);
        } else {
            float rest = chosenReach - dot(end - light, chosen);
            position = vec4(end + direction * (max(rest, 0.0) / dot(direction, chosen)), 1.0);
        }
#endif
    }
    gl_Position = gl_ModelViewProjectionMatrix * position;
    // For the count's cut of what lies nearer than every surface (user clip plane 0).
    gl_ClipVertex = gl_ModelViewMatrix * position;

#ifdef FRAG
    v_Edge0 = (u_ModelMatrix * vec4(in_Edge0, 1.0)).xyz;
    v_Edge1 = (u_ModelMatrix * vec4(in_Edge1, 1.0)).xyz;
#endif
}
