#version 110
// Shadow value of one light per pixel, written to alpha: 1 where the light's sphere is
// fully visible, 0 where it is hidden.
//
// u_TexStencil holds the hard count in alpha, 128/255 meaning "outside every shadow
// volume"; any other value is the umbra of the light's centre. u_TexCoverage holds the
// signed correction that the penumbra wedges added around the silhouettes: positive
// inside the hard shadow (light partly seen again), negative outside it.

#extension GL_ARB_texture_rectangle : enable

uniform sampler2DRect u_TexStencil;
uniform sampler2DRect u_TexCoverage;

void main()
{
    float count = texture2DRect(u_TexStencil, gl_FragCoord.xy).a * 255.0 - 128.0;
    float lit = abs(count) < 0.5 ? 1.0 : 0.0;
    float coverage = texture2DRect(u_TexCoverage, gl_FragCoord.xy).a;
    gl_FragColor = vec4(0.0, 0.0, 0.0, clamp(lit + coverage, 0.0, 1.0));
}
