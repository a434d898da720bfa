#version 110
// Shadow value of one light per pixel, written to alpha: 1 where the light's sphere is
// fully visible, 0 where it is hidden.
//
// u_TexStencil holds the hard count in alpha, 128/255 meaning "outside every shadow
// volume"; each volume that holds the surface moves it one step away from 128, all in the
// same direction. u_TexCoverage holds the sum of the corrections that the penumbra wedges
// of every silhouette added around their hard edges: positive inside a hard shadow (light
// partly seen again), negative outside it.
//
// Each volume hides the whole sphere as far as the light's centre is concerned, and each
// wedge gives back (or takes away) the part its edge decides, so the visible share is
//     1 - volumes + coverage.
// Inside two overlapping umbrae the wedges of one silhouette can give back at most one
// volume's worth, and the value stays at 0: no light leaks through the second shadow.
// Where penumbrae of different casters overlap their hidden parts add up, which is exact
// when those parts of the sphere do not overlap and too dark where they do.
//
// A surface also hides from itself the part of the sphere below its own plane: a face
// turned almost edge-on to the light sees only part of it, although no silhouette lies
// between. Its plane is that of the triangle seen in the pixel, which u_TexCoordinate holds
// in alpha on 32-bit targets (NORMAL_IN_ALPHA); on 16-bit ones it comes from the positions
// of the neighbouring pixels.
// A silhouette edge in that plane already took the same part away, so the two are not
// added: the smaller share wins.

#extension GL_ARB_texture_rectangle : enable

struct LightSource {
    vec3 WorldPosition;
    float Radius;         // radius of the light's own sphere
};

uniform LightSource u_LightSource;
uniform sampler2DRect u_TexStencil;
uniform sampler2DRect u_TexCoverage;
uniform sampler2DRect u_TexCoordinate;

const float Pi = 3.1415927;

vec3 Position(vec2 at)
{
    return texture2DRect(u_TexCoordinate, at).xyz;
}

// The share of the light's disc, seen from the surface, that lies above a plane through the
// surface with the given normal.
float AbovePlane(vec3 surface, vec3 normal)
{
    float lengthN = length(normal);
    vec3 toLight = u_LightSource.WorldPosition - surface;
    float distance = length(toLight);
    if (lengthN < 1e-12 || distance < 1e-6)
        return 1.0;
    float cosN = dot(normal / lengthN, toLight / distance);
    // The sphere fills the cone of half-angle asin(r / distance); in units of the disc that
    // the cone cuts from the light's plane, the surface's plane passes at t from its centre.
    float sinCone = min(u_LightSource.Radius / distance, 0.95);
    float tanCone = sinCone / sqrt(1.0 - sinCone * sinCone);
    float t = cosN / (max(sqrt(max(1.0 - cosN * cosN, 0.0)), 1e-6) * tanCone);
    if (t >= 1.0)
        return 1.0;
    if (t <= -1.0)
        return 0.0;
    return 1.0 - (acos(t) - t * sqrt(1.0 - t * t)) / Pi;
}

#ifdef NORMAL_IN_ALPHA
// The share of the light's disc above the surface's own plane, from the normal of its
// triangle that the coordinate pass stored in alpha.
float AboveOwnPlane()
{
    vec4 coordinate = texture2DRect(u_TexCoordinate, gl_FragCoord.xy);
    if (coordinate.a < 0.0)
        return 1.0;
    float qx = floor(coordinate.a / 2048.0);
    vec2 p = vec2(qx, coordinate.a - qx * 2048.0) / 2047.0 * 2.0 - 1.0;
    vec3 normal = vec3(p, 1.0 - abs(p.x) - abs(p.y));
    if (normal.z < 0.0)
        normal.xy = (1.0 - abs(normal.yx)) * vec2(p.x >= 0.0 ? 1.0 : -1.0, p.y >= 0.0 ? 1.0 : -1.0);
    return AbovePlane(coordinate.xyz, normal);
}
#else
// The share of the light's disc above the surface's own plane, where the target is too
// coarse to hold the normal: the plane comes from the neighbouring pixels. On a ridge one
// pixel wide the neighbours on either side lie on different faces, and a plane spanned by
// one of each tilts away from both. Of the four planes that pair a horizontal with a
// vertical neighbour, the one that sees most of the light is taken: on a smooth or flat
// surface they agree, and on a ridge at least one of them is the pixel's own face.
float AboveOwnPlane()
{
    vec2 at = gl_FragCoord.xy;
    vec3 surface = Position(at);
    vec3 left = surface - Position(at - vec2(1.0, 0.0));
    vec3 right = Position(at + vec2(1.0, 0.0)) - surface;
    vec3 below = surface - Position(at - vec2(0.0, 1.0));
    vec3 above = Position(at + vec2(0.0, 1.0)) - surface;
    return max(max(AbovePlane(surface, cross(left, below)), AbovePlane(surface, cross(left, above))),
               max(AbovePlane(surface, cross(right, below)), AbovePlane(surface, cross(right, above))));
}
#endif

void main()
{
    float count = texture2DRect(u_TexStencil, gl_FragCoord.xy).a * 255.0 - 128.0;
    float volumes = floor(abs(count) + 0.5);
    float coverage = texture2DRect(u_TexCoverage, gl_FragCoord.xy).a;
    float shared = clamp(1.0 - volumes + coverage, 0.0, 1.0);
    gl_FragColor = vec4(0.0, 0.0, 0.0, min(shared, AboveOwnPlane()));
}
