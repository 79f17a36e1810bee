#version 330 compatibility
// The scene target's post-process: depth of field focused on what sits at
// the middle of the frame, the shadow each paper layer casts on the layers
// behind it, a glow from the sprites' second output, the replay look on
// time-map stretches that play a second time, black card wherever the scene
// is empty or dark, paper grain and a vignette. Output replaces the scene
// colour.

uniform sampler2D texture2d;           // scene colour; alpha 0 where nothing was drawn
uniform sampler2D texture2d2;          // sprites' glow colour
uniform sampler2D texture2d3;          // sprites' mask: alpha is coverage
uniform sampler2D texturedepth;        // scene depth
uniform sampler2D texture2dOther;      // the second scene target
uniform sampler2D texture2dOtherdepth;
uniform sampler2D moon;
uniform float ttime;   // scene time
uniform float fttime;  // raw time
uniform float TheType; // time-map flag: 1 on a replayed stretch, 5 in the slowed opening
uniform mat4 MV;
uniform mat4 MP;
uniform float k0, k1, k2, k3, k4, k5;

in vec2 uv;
flat in float focus;  // the focal distance, found once per frame by the vertex stage
layout(location = 0) out vec4 colour;

#include "Resources//shaders//inc_film.cpp"
#include "Resources//shaders//inc_depth.cpp"

const float GOLDEN_ANGLE = 2.39996323;
const int DISC_TAPS = 8;

float sceneDepthAt(vec2 p) { return linearDepth(texture(texturedepth, p).r); }

// A golden-angle disc of taps: an even bokeh from few samples.
vec4 discBlur(sampler2D image, vec2 p, vec2 radius) {
    vec4 sum = texture(image, p);
    for (int i = 1; i <= DISC_TAPS; i++) {
        float r = sqrt(float(i) / float(DISC_TAPS));
        float a = float(i) * GOLDEN_ANGLE;
        sum += texture(image, p + vec2(cos(a), sin(a)) * r * radius);
    }
    return sum / float(DISC_TAPS + 1);
}

// The shadow a nearer layer up and to the left casts here: two taps along the
// light, deeper the farther this point lies behind the caster.
float paperShadow(vec2 p, vec2 offset, float depth) {
    float near1 = sceneDepthAt(p + offset * 0.5);
    float near2 = sceneDepthAt(p + offset);
    float s = smoothstep(0.01, 0.12, depth - near1) + smoothstep(0.01, 0.12, depth - near2);
    return s * 0.5;
}

// Black card: not a hole but a sheet, with a mottle and a few fibres.
vec3 blackCard(vec2 pixel) {
    float mottle = fibre(pixel / 23.0);
    float fibres = smoothstep(0.82, 0.95, fibre(pixel * vec2(0.09, 0.6)));
    return vec3(0.068, 0.058, 0.05) * (0.75 + 0.5 * mottle) + vec3(0.035, 0.03, 0.025) * fibres;
}

vec3 sepia(vec3 c) {
    float y = luma(c);
    return vec3(y * 1.07 + 0.03, y * 0.94 + 0.02, y * 0.74);
}

void main() {
    vec2 size = vec2(textureSize(texture2d, 0));
    vec2 texel = 1.0 / size;
    vec2 p = uv;

    // Replays are a second pull laid down in strips, each a little askew.
    bool replay = abs(TheType - 1.0) < 0.5;
    if (replay) {
        float band = floor(p.y * 24.0 + stopMotionFrame(fttime) * 0.5);
        p.x += (hash12(vec2(band, stopMotionFrame(fttime))) - 0.5) * 0.006;
    }

    // Empty paper has nothing to blur or shade; depth is read only where sprites were drawn.
    vec4 scene = texture(texture2d, p);
    float shadow = 0.0;
    if (scene.a > 0.0) {
        float depth = sceneDepthAt(p);
        shadow = paperShadow(p, vec2(-5.0, 6.0) / 720.0 * vec2(size.y / size.x, 1.0), depth);
        // Blur grows with the distance from the focal plane, in pixels at 1080 rows.
        float blurPixels = clamp(abs(depth - focus) / max(depth, 0.05) * 7.0, 0.0, 5.0) * size.y / 1080.0;
        if (blurPixels > 0.6) scene = discBlur(texture2d, p, blurPixels * texel);
    }

    vec3 c = scene.rgb * (1.0 - 0.38 * shadow);
    // Empty space is black card, and so is whatever the scene draws black
    // (the veil at the end): only there is the card worked out.
    if (scene.a < 0.999 || luma(c) < 0.1) {
        vec3 card = blackCard(gl_FragCoord.xy * 720.0 / size.y);
        c = max(mix(card, c, clamp(scene.a, 0.0, 1.0)), card * 0.9);
    }

    // Glow: the sprites' second output spread wide and added. Four bilinear
    // taps between texels on the diagonals give a wide soft halo cheaply.
    vec2 spread = 6.5 * texel * size.y / 1080.0;
    vec3 glow = texture(texture2d2, p).rgb * 0.2;
    glow += texture(texture2d2, p + spread).rgb * 0.2;
    glow += texture(texture2d2, p - spread).rgb * 0.2;
    glow += texture(texture2d2, p + vec2(spread.x, -spread.y)).rgb * 0.2;
    glow += texture(texture2d2, p - vec2(spread.x, -spread.y)).rgb * 0.2;
    c += glow * 0.55;

    if (replay) c = mix(c, sepia(c), 0.45);  // a second pull on older paper

    // The slowed opening comes up out of black.
    if (abs(TheType - 5.0) < 0.5) c *= clamp(fttime / 2.5, 0.0, 1.0);

    float coverage = texture(texture2d3, p).a;
    c += filmGrain(gl_FragCoord.xy, fttime) * mix(0.05, 0.03, coverage);

    vec2 fromMiddle = (uv - 0.5) * vec2(size.x / size.y, 1.0);
    c *= 1.0 - 0.45 * smoothstep(0.45, 1.05, length(fromMiddle));

    colour = vec4(max(c, 0.0), 1.0);
}
