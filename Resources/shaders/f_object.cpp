#version 330 compatibility
// Mesh figures as printed cut-outs: the frame picture under a soft key
// light with a few steps in it, an ink rim along the silhouette, a little of
// the paper pressed in. Output 1 is the glow the post-process blooms: the
// rim light in the figure's colours, alpha 1 as coverage.

uniform sampler2D Texture;  // the frame picture
uniform sampler2D Paper;
uniform float IsStatue;      // 1: the figure as pale stone
uniform float Type;          // 0: untextured clay
uniform float texture_width;
uniform float texture_height;
uniform float ttime;
uniform float k0, k1;

in vec3 eyePosition;
in vec3 eyeNormal;
in vec2 uv;

layout(location = 0) out vec4 colour;
layout(location = 1) out vec4 glow;

const vec3 KEY = vec3(-0.45, 0.55, 0.70);   // upper left, in front
const vec3 FILL = vec3(0.70, -0.20, 0.45);

float hash(float n) { return fract(sin(n * 12.9898) * 43758.5453); }

void main() {
    vec3 view = normalize(-eyePosition);
    // Averaged normals are short where faces disagree and zero on stray
    // vertices: fall back to facing the eye.
    vec3 n = length(eyeNormal) > 1e-5 ? normalize(eyeNormal) : view;
    if (dot(n, view) < 0.0) n = -n;  // mirrored draws show the inner faces

    vec3 albedo = Type > 0.5 ? texture(Texture, uv).rgb : vec3(0.78, 0.72, 0.66);
    if (IsStatue > 0.5) albedo = vec3(dot(albedo, vec3(0.3, 0.5, 0.2))) * vec3(1.05, 1.02, 0.96) + 0.15;

    float key = max(0.0, (dot(n, normalize(KEY)) + 0.3) / 1.3);
    key = mix(key, floor(key * 4.0 + 0.5) / 4.0, 0.35);  // a few steps, like cut paper
    float fill = max(0.0, dot(n, normalize(FILL))) * 0.25;
    float facing = clamp(dot(n, view), 0.0, 1.0);
    float rim = 1.0 - smoothstep(0.04, 0.3, facing);
    vec3 lit = albedo * (0.34 + 0.78 * key + fill);
    lit = mix(lit, vec3(0.12, 0.08, 0.07), 0.5 * rim);

    // Paper fibre on the figure, one paper tile over 1024 picture texels.
    vec2 paperScale = vec2(max(texture_width, 1.0), max(texture_height, 1.0)) / 1024.0;
    vec3 paper = texture(Paper, uv * paperScale).rgb;
    float hasPaper = step(0.02, paper.r + paper.g + paper.b);
    lit *= mix(vec3(1.0), paper * 1.2, 0.22 * hasPaper);

    // Stop-motion exposure flicker, twelve steps a second; k0 brightens,
    // k1 takes the colour out.
    lit *= 1.0 + 0.04 * (hash(floor(ttime * 12.0)) - 0.5) + 0.5 * k0;
    lit = mix(lit, vec3(dot(lit, vec3(0.3, 0.5, 0.2))), clamp(k1, 0.0, 1.0));

    colour = vec4(clamp(lit, 0.0, 1.0), 1.0);
    glow = vec4(albedo * (1.0 - rim) * smoothstep(0.2, 0.9, 1.0 - facing) * 0.6, 1.0);
}
