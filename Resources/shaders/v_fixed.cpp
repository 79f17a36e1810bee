#version 330 compatibility
// Full-screen passes: the quad comes with identity matrices. The vertex stage
// also finds the depth-of-field focus: what sits at the middle of the frame,
// averaged over three points so one thin sprite edge does not pull it. Done
// per corner, it costs twelve depth reads a frame instead of three a pixel.

uniform sampler2D texturedepth;

out vec2 uv;
flat out float focus;

#include "Resources//shaders//inc_depth.cpp"

float nearDepthAt(vec2 p) { return min(linearDepth(texture(texturedepth, p).r), 8.0); }

void main() {
    vec2 side = vec2(0.025, 0.0);
    focus = (nearDepthAt(vec2(0.5)) + nearDepthAt(vec2(0.5) + side) + nearDepthAt(vec2(0.5) - side)) / 3.0;
    uv = gl_MultiTexCoord0.xy;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
