#version 330 compatibility
// The final pass's quad. The gate weave (the whole picture shifting a little
// each stop-motion frame, as film does in a projector) is worked out per
// vertex, so the fragments only add it.

uniform float fttime;

out vec2 uv;
out vec2 weave;

#include "Resources//shaders//inc_film.cpp"

void main() {
    float frame = stopMotionFrame(fttime);
    weave = (vec2(hash12(vec2(frame, 3.1)), hash12(vec2(7.7, frame))) - 0.5) * vec2(0.0012, 0.0018);
    uv = gl_MultiTexCoord0.xy;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
