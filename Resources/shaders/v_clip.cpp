#version 330 compatibility
// Cut-outs and mesh renders drawn as flat quads and shattered pieces: the
// fixed-function matrices place them, glColor tints them.

out vec2 uv;
out vec4 tint;

void main() {
    uv = gl_MultiTexCoord0.xy;
    tint = gl_Color;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
