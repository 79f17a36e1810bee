#version 330 compatibility
// Full-screen passes: the quad comes with identity matrices.

out vec2 uv;

void main() {
    uv = gl_MultiTexCoord0.xy;
    gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
