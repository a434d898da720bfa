#version 110
// Ambient terms of up to MAX_LIGHTS lights in one draw. Positions and normals stay in the
// drawn model's space, where the renderer also puts the light positions.

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
