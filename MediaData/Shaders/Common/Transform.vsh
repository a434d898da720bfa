#version 110
// Position only: the depth pre-pass and the full-target quads of the shadow passes.

attribute vec3 in_Vertex;

void main()
{
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_Vertex, 1.0);
}
