#version 110
// Per-pixel diffuse and specular lighting of one light. The world is drawn with an
// identity model matrix, so its model space is world space, where the viewer is given.

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
