#version 110
// World position of every visible surface point, for the wedge coverage pass that has
// to know where the receiver under each pixel lies.

attribute vec3 in_Vertex;

uniform mat4 u_ModelMatrix;

varying vec3 v_WorldPosition;

void main()
{
    v_WorldPosition = (u_ModelMatrix * vec4(in_Vertex, 1.0)).xyz;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_Vertex, 1.0);
}
