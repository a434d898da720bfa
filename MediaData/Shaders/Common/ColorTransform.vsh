#version 110
// Position and the current colour (glColor4f), for the overlay text and light markers;
// the fixed-function fragment stage writes the colour.

attribute vec3 in_Vertex;

void main()
{
    gl_FrontColor = gl_Color;
    gl_BackColor = gl_Color;
    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_Vertex, 1.0);
}
