#version 110
// Per-pixel diffuse lighting of one light; everything in the drawn model's space.

attribute vec3 in_Vertex;
attribute vec3 in_Normal;

varying vec3 v_Position;
varying vec3 v_Normal;

void main()
{
    v_Position = in_Vertex;
    v_Normal = in_Normal;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_Vertex, 1.0);
}
