#version 110
// Diffuse term of one light, faded smoothly to zero at the light's radius. With SHADOW
// the term is scaled by the screen-space shadow value of the light (1 lit, 0 hidden).

#ifdef SHADOW
#extension GL_ARB_texture_rectangle : enable
#endif

struct LightSource {
    vec3 Position;
    float Radius;
    vec3 DiffuseColor;
};

struct Material {
    vec3 DiffuseColor;
};

uniform LightSource u_LightSource;
uniform Material u_Material;

#ifdef SHADOW
uniform sampler2DRect u_TexShadow;
uniform float u_TexCoordScale;
#endif

varying vec3 v_Position;
varying vec3 v_Normal;

void main()
{
    vec3 toLight = u_LightSource.Position - v_Position;
    float distance = length(toLight);
    float fade = clamp(1.0 - distance / max(u_LightSource.Radius, 1e-6), 0.0, 1.0);
    float diffuse = max(dot(normalize(v_Normal), toLight / max(distance, 1e-6)), 0.0);
    vec3 light = u_LightSource.DiffuseColor * u_Material.DiffuseColor * (diffuse * fade * fade);
#ifdef SHADOW
    light *= texture2DRect(u_TexShadow, gl_FragCoord.xy * u_TexCoordScale).a;
#endif
    gl_FragColor = vec4(light, 1.0);
}
