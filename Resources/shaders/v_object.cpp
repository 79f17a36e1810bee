#version 330 compatibility
// Mesh figures: eye-space position and normal for the lighting, the frame
// picture's coordinates. The scenes squash and mirror the figures, so the
// normal goes through the normal matrix and is normalised per fragment.

out vec3 eyePosition;
out vec3 eyeNormal;
out vec2 uv;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePosition = eye.xyz;
    eyeNormal = gl_NormalMatrix * gl_Normal;
    uv = gl_MultiTexCoord0.xy;
    gl_Position = gl_ProjectionMatrix * eye;
}
