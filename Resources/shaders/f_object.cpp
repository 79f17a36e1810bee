#version 330 compatibility
// Mesh figures printed like the other cut-outs: the frame picture's flat
// colours in two tones, the shadow a darker second plate split sharply from
// the light, an ink line wherever the surface turns away (the outline, and
// a limb passing in front of the body), the paper pressed in. Output 1 is a
// faint glow for the post-process, alpha 1 as coverage.

uniform sampler2D Texture;  // the frame picture
uniform sampler2D Paper;
uniform float IsStatue;      // 1: the figure as pale stone
uniform float Type;          // 0: untextured clay
uniform float texture_width;   // the picture's size, set by every draw; the print
uniform float texture_height;  // lays its paper by the target's pixels instead
uniform float ttime;
uniform float k0, k1;

in vec3 eyePosition;
in vec3 eyeNormal;
in vec2 uv;

layout(location = 0) out vec4 colour;
layout(location = 1) out vec4 glow;

const vec3 KEY = vec3(-0.45, 0.55, 0.70);  // upper left, in front
const vec3 SHADOW_PLATE = vec3(0.64, 0.56, 0.62);
const vec3 INK = vec3(0.09, 0.08, 0.10);
const float LINE = 0.004;  // ink width as a share of the view's height

float hash(float n) { return fract(sin(n * 12.9898) * 43758.5453); }

void main() {
    vec3 view = normalize(-eyePosition);
    // Averaged normals are short where faces disagree and zero on stray
    // vertices: fall back to facing the eye.
    vec3 n = length(eyeNormal) > 1e-5 ? normalize(eyeNormal) : view;
    if (dot(n, view) < 0.0) n = -n;  // mirrored draws show the inner faces

    vec3 albedo = Type > 0.5 ? texture(Texture, uv).rgb : vec3(0.78, 0.72, 0.66);
    if (IsStatue > 0.5) albedo = vec3(dot(albedo, vec3(0.3, 0.5, 0.2))) * vec3(1.05, 1.02, 0.96) + 0.15;

    // Light or shadow, nothing between: a one-pixel step, wherever it falls.
    float key = dot(n, normalize(KEY)) - 0.05;
    float lit = smoothstep(-0.5, 0.5, key / max(fwidth(key), 1e-4));
    vec3 c = albedo * mix(SHADOW_PLATE, vec3(1.0), lit);

    // The pen follows the edge-on surface, its width held in pixels and
    // grown with the target (the view spans 0.83 in tan units). Facing over
    // its change per pixel runs about two and a half times the distance to
    // the outline on a round limb, thin or thick.
    float facing = clamp(dot(n, view), 0.0, 1.0);
    float pixel = max(fwidth(eyePosition.y / -eyePosition.z), 1e-6);
    float width = clamp(LINE * 0.8284 / pixel, 1.0, 6.0);
    float toEdge = facing / max(fwidth(facing), 1e-4) / 2.5;
    c = mix(c, INK, 1.0 - smoothstep(width - 0.5, width + 0.5, toEdge));

    // The sheet it is printed on, fixed to the target like the paper under a print.
    vec3 paper = texture(Paper, gl_FragCoord.xy / 640.0).rgb;
    float hasPaper = step(0.02, paper.r + paper.g + paper.b);
    c *= mix(vec3(1.0), paper * 1.25, 0.25 * hasPaper);

    // Stop-motion exposure flicker, twelve steps a second; k0 brightens,
    // k1 takes the colour out.
    c *= 1.0 + 0.04 * (hash(floor(ttime * 12.0)) - 0.5) + 0.5 * k0;
    c = mix(c, vec3(dot(c, vec3(0.3, 0.5, 0.2))), clamp(k1, 0.0, 1.0));

    colour = vec4(clamp(c, 0.0, 1.0), 1.0);
    glow = vec4(albedo * lit * 0.12, 1.0);
}
