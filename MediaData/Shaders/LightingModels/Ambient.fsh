#version 110
// Sum of the global ambient colour and each light's ambient colour, faded to zero at the
// light's radius. A light slot the renderer never filled has radius 0 and adds nothing.

#ifndef MAX_LIGHTS
#define MAX_LIGHTS 1
#endif

struct AmbientLight {
    vec3 Position;
    float Radius;
    vec3 AmbientColor;
};

struct Material {
    vec3 DiffuseColor;
};

uniform vec3 u_AmbientColor;
uniform AmbientLight u_LightSource[MAX_LIGHTS];
uniform Material u_Material;

varying vec3 v_Position;
varying vec3 v_Normal;

void main()
{
    vec3 normal = normalize(v_Normal);
    vec3 light = u_AmbientColor;
    for (int i = 0; i < MAX_LIGHTS; ++i) {
        if (u_LightSource[i].Radius > 0.0) {
            vec3 toLight = u_LightSource[i].Position - v_Position;
            float distance = length(toLight);
            float fade = clamp(1.0 - distance / u_LightSource[i].Radius, 0.0, 1.0);
            // Surfaces turned away from the light keep half of its ambient term.
            float facing = 0.5 + 0.5 * max(dot(normal, toLight / max(distance, 1e-6)), 0.0);
            light += u_LightSource[i].AmbientColor * (fade * fade * facing);
        }
    }
    gl_FragColor = vec4(light * u_Material.DiffuseColor, 1.0);
}
