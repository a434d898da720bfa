#version 110
// Diffuse and specular terms of one light, faded smoothly to zero at the light's radius.
// The highlight is dropped on faces turned away from the light. With SHADOW both terms
// are scaled by the screen-space shadow value of the light.

#ifdef SHADOW
#extension GL_ARB_texture_rectangle : enable
#endif

struct LightSource {
    vec3 Position;
    float Radius;
    vec3 DiffuseColor;
    vec3 SpecularColor;
};

struct Material {
    vec3 DiffuseColor;
    float SpecularPow;
};

uniform LightSource u_LightSource;
uniform Material u_Material;
uniform vec3 u_ViewPosition;

#ifdef SHADOW
uniform sampler2DRect u_TexShadow;
uniform float u_TexCoordScale;
#endif

varying vec3 v_Position;
varying vec3 v_Normal;

void main()
{
    vec3 normal = normalize(v_Normal);
    vec3 toLight = u_LightSource.Position - v_Position;
    float distance = length(toLight);
    vec3 lightDir = toLight / max(distance, 1e-6);
    float fade = clamp(1.0 - distance / max(u_LightSource.Radius, 1e-6), 0.0, 1.0);
    fade *= fade;

    float diffuse = dot(normal, lightDir);
    vec3 light = vec3(0.0);
    if (diffuse > 0.0) {
        vec3 toView = normalize(u_ViewPosition - v_Position);
        float specular = pow(max(dot(reflect(-lightDir, normal), toView), 0.0),
                             u_Material.SpecularPow);
        light = u_LightSource.DiffuseColor * u_Material.DiffuseColor * diffuse +
                u_LightSource.SpecularColor * specular;
        light *= fade;
    }
#ifdef SHADOW
    light *= texture2DRect(u_TexShadow, gl_FragCoord.xy * u_TexCoordScale).a;
#endif
    gl_FragColor = vec4(light, 1.0);
}
