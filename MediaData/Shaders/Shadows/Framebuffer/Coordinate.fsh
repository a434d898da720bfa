#version 110
// Writes the world position into the colour channels of a float target.

varying vec3 v_WorldPosition;

void main()
{
    gl_FragColor = vec4(v_WorldPosition, 1.0);
}
