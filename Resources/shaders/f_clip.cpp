#version 330 compatibility
// The cut-outs: pictures on a green key and mesh renders on transparent cyan
// become printed paper shapes. ObjectType picks the print look, Mode the
// light of the act, OtherFlow sinks a sprite below a moving line (nails into
// the wall, fish into the water) and TextureSeeThrough lets the figure show
// through the back clouds. Output 1 is glow for the post-process, output 2
// a mask: ObjectType and Mode encoded, alpha the coverage.

uniform sampler2D Texture;            // unit 3
uniform sampler2D Paper;              // unit 4
uniform sampler2D TextureSeeThrough;  // unit 13, the back clouds only
uniform float ittime;  // show time in tenths: the stop-motion clock
uniform float ttime;
uniform float texture_width;
uniform float texture_height;
uniform float OtherMode;  // 1: a mesh render target with alpha 0 around the figure
uniform float ObjectType;
uniform float k0, k1, k2, k3, k4, k5;
uniform float Mode;
uniform float OtherFlow;
uniform float pass;  // 1: coverage only

in vec2 uv;
in vec4 tint;
layout(location = 0) out vec4 colour;
layout(location = 1) out vec4 glow;
layout(location = 2) out vec4 mask;

#include "Resources//shaders//inc_film.cpp"
#include "Resources//shaders//inc_clip_looks.cpp"

const vec3 PAPER_WHITE = vec3(0.96, 0.93, 0.86);
const vec3 INK = vec3(0.07, 0.06, 0.06);
const float MARGIN = 0.006;  // the scissors' paper rim around mesh figures, in picture heights

bool isType(float value) { return abs(ObjectType - value) < 0.004; }

// The soft key (the forge writes cut-outs for it with the same numbers): d,
// the green above red and blue, is at most 0.08 on paper and ink and runs
// from 0.25 (all paper) to 0.5 (all background) across a cut edge. Where d is
// above 0 the forge darkened the colour by (1 - d), to make room for d under
// white; texels the sampler blends between paper and edge follow the same
// rule, so every one is brightened back.
float keyGreen(vec3 t) { return t.g - max(t.r, t.b); }

float coverageOf(vec4 t) {
    if (OtherMode > 0.5) return t.a;
    return 1.0 - smoothstep(0.25, 0.5, keyGreen(t.rgb));
}

// The picture's own colour with the background taken out of the edge.
vec3 unmixed(vec4 t) {
    if (OtherMode > 0.5) return clamp((t.rgb - (1.0 - t.a) * vec3(0.0, 1.0, 1.0)) / max(t.a, 0.05), 0.0, 1.0);
    float d = max(keyGreen(t.rgb), 0.0);
    vec3 c = t.rgb / max(1.0 - d, 0.5);
    c.g = mix(t.g, 0.5 * (c.r + c.b), smoothstep(0.08, 0.25, d));
    return clamp(c, 0.0, 1.0);
}

// How much of a ring around p is figure: mesh renders get a cut paper rim.
float ringCoverage(vec2 p, vec2 radius) {
    float m = 0.0;
    for (int i = 0; i < 6; i++) {
        float a = float(i) * 1.0471976 + 0.3;
        m = max(m, texture(Texture, p + vec2(cos(a), sin(a)) * radius).a);
    }
    return m;
}

void main() {
    float aspect = texture_width / max(texture_height, 1.0);
    vec2 picture = uv * vec2(aspect, 1.0);  // in picture heights
    float frame = ittime * 10.0;
    float sheet = hash12(vec2(texture_width, texture_height));  // this picture's own randomness

    vec2 p = uv;
    if (isType(12.236)) p.x += sin(uv.y * 9.0 + frame * 0.7) * 0.012;  // under water
    vec4 t = texture(Texture, p);
    float coverage = coverageOf(t);
    vec3 c = unmixed(t);

    if (OtherMode > 0.5) {
        float rim = smoothstep(0.3, 0.6, ringCoverage(p, vec2(MARGIN / aspect, MARGIN)));
        c = mix(PAPER_WHITE, c, coverage);
        coverage = max(coverage, rim);
    }

    // Sinking: what lies past the line is inside the wall or under the water.
    float sinkLine = 1.0 + min(OtherFlow, 0.0) * 0.6;
    coverage *= 1.0 - smoothstep(sinkLine - 0.01, sinkLine, uv.y);

    if (pass > 0.5) {
        if (coverage < 0.02) discard;
        colour = vec4(0.0, 0.0, 0.0, coverage);
        glow = vec4(0.0);
        mask = vec4(0.0, 0.0, 0.0, coverage);
        return;
    }

    vec3 emit = vec3(0.0);
    float tone = luma(c);
    if (isType(0.0)) {
        c = saturation(c, 0.75) * 0.9 + 0.03;  // the back wall: a faded old print
    } else if (isType(1.0)) {
        c = saturation(c, 0.92) * 0.97 + 0.015;
    } else if (isType(1.5)) {
        c = posterize(saturation(c, 1.3), 5.0);  // planets: flat poster colours that shine
        emit = c * 0.35;
    } else if (isType(1.77)) {
        c = mix(vec3(0.3, 0.2, 0.14), vec3(1.0, 0.97, 0.88), 1.0 - hatch(tone, picture, 55.0));
    } else if (isType(1.991)) {
        // The television: phosphor blue, scan lines, a picture that jumps.
        float jump = step(0.8, hash12(vec2(frame, 3.1)));
        c = duotone(c, vec3(0.02, 0.05, 0.1), vec3(0.7, 0.9, 1.0)) * (1.0 - 0.25 * jump);
        c *= 0.72 + 0.28 * step(0.5, fract(uv.y * texture_height * 0.25));
        emit = c * vec3(0.2, 0.3, 0.45);
    } else if (isType(2.0)) {
        c = mix(c, duotone(c, vec3(0.2, 0.11, 0.06), vec3(1.0, 0.93, 0.78)), 0.7);  // hand-tinted sepia
    } else if (isType(2.13)) {
        // Gold leaf, with a glint that jumps from frame to frame.
        c = duotone(c, vec3(0.24, 0.13, 0.03), vec3(1.0, 0.84, 0.4));
        float band = fract(picture.x * 0.7 + picture.y * 0.5 - hash12(vec2(frame, 7.0)));
        float glint = 1.0 - smoothstep(0.0, 0.06, abs(band - 0.5));
        c += glint * 0.25;
        emit = vec3(1.0, 0.75, 0.3) * (0.12 + glint * 0.3) * tone;
    } else if (isType(2.715)) {
        c = mix(vec3(0.62, 0.74, 0.95), vec3(1.0), tone);  // the ghost angels
        emit = c * 0.35;
        coverage *= 0.85;
    } else if (isType(3.0)) {
        // Cheap colour print: the red and blue plates are off register.
        vec2 slip = (vec2(hash12(vec2(frame, 1.0)), hash12(vec2(frame, 2.0))) - 0.5) * 0.012 + vec2(0.006, 0.0);
        float r = unmixed(texture(Texture, p + slip)).r;
        float b = unmixed(texture(Texture, p - slip)).b;
        c = posterize(saturation(vec3(r, c.g, b), 1.35), 6.0);
    } else if (isType(3.7)) {
        c = duotone(c, vec3(0.03, 0.13, 0.32), vec3(0.78, 0.91, 0.97));  // cyanotype
    } else if (isType(3.86)) {
        c = duotone(c, vec3(0.35, 0.0, 0.03), vec3(1.0, 0.55, 0.55));  // a red, wet tear
        emit = vec3(0.8, 0.1, 0.1) * 0.4;
    } else if (isType(4.0)) {
        // The gilded frame: metal that catches the light in steps.
        c = duotone(c, vec3(0.2, 0.12, 0.02), vec3(1.0, 0.86, 0.45));
        c *= 0.9 + 0.2 * hash12(vec2(floor(picture.y * 6.0), frame));
        emit = vec3(0.6, 0.45, 0.15) * 0.15;
    } else if (isType(5.0)) {
        // An old albumen photograph: brown, contrasty, darker towards its edges.
        c = duotone(c, vec3(0.1, 0.07, 0.05), vec3(0.97, 0.93, 0.84));
        c = ((c - 0.5) * 1.3 + 0.5) * (1.0 - 1.2 * dot(uv - 0.5, uv - 0.5));
    } else if (isType(5.59)) {
        // The logo breaks up: split plates and flashes on random frames.
        vec2 split = vec2((hash12(vec2(frame, 5.0)) - 0.5) * 0.03, 0.0);
        c.r = unmixed(texture(Texture, p + split)).r;
        float flash = step(0.7, hash12(vec2(frame, 9.0)));
        c = mix(c, vec3(1.0, 0.2, 0.15), flash * 0.5);
        emit = c * (0.25 + 0.5 * flash);
    } else if (isType(5.82)) {
        // Newsprint: black dots on grey paper.
        float ink = halftone(tone, picture, 60.0, 0.785);
        c = mix(vec3(0.88, 0.86, 0.8), INK, ink);
    } else if (isType(8.0)) {
        c = saturation((c - 0.5) * 1.15 + 0.5, 1.15);  // a crisp magazine cut-out
    } else if (isType(8.74)) {
        c = duotone(c, vec3(0.26, 0.05, 0.03), vec3(1.0, 0.74, 0.46));  // red ochre
    } else if (isType(9.0)) {
        c = mix(c, duotone(c, vec3(0.02, 0.1, 0.07), vec3(0.72, 0.95, 0.62)), 0.8);  // the night forest
    } else if (isType(10.0)) {
        // Photogravure: cold grey with a fine engraved screen.
        c = duotone(c, vec3(0.03, 0.05, 0.1), vec3(0.78, 0.86, 1.0));
        c *= 1.0 - 0.3 * hatch(tone, picture, 90.0);
    } else if (isType(11.0)) {
        c = mix(c, duotone(c, vec3(0.16, 0.06, 0.02), vec3(0.96, 0.62, 0.36)), 0.8);  // rusty iron
    } else if (isType(12.0)) {
        // Red velvet that folds.
        float fold = 0.78 + 0.22 * sin(picture.x * 38.0 + sin(picture.y * 3.0));
        c = vec3(0.95, 0.13, 0.16) * (0.3 + 1.1 * tone) * fold;
    } else if (isType(12.236)) {
        c = duotone(c, vec3(0.0, 0.08, 0.13), vec3(0.52, 0.92, 0.86));
        emit = vec3(0.05, 0.25, 0.25) * tone;
    } else if (isType(13.0)) {
        // Shadow puppets: black card, the paper rim left white.
        c = mix(PAPER_WHITE, INK, smoothstep(0.6, 0.95, OtherMode > 0.5 ? t.a : coverage));
    } else if (isType(14.0)) {
        c = vec3(0.55, 0.8, 1.0) * (1.0 - tone) * 1.3 + 0.08;  // x-ray negative
        emit = c * 0.4;
    } else if (isType(20.0)) {
        // Back clouds: thin cloud lets the figure behind show through.
        vec4 behind = texture(TextureSeeThrough, gl_FragCoord.xy / vec2(textureSize(TextureSeeThrough, 0)));
        c = mix(c, unmixed(behind) * 0.9, behind.a * 0.6 * tone);
    } else if (isType(-1.0)) {
        c = craftPaper(sheet) * (0.8 + 0.25 * tone);  // coloured card silhouettes
    } else if (isType(-10.0)) {
        c = mix(saturation(c, 0.5), vec3(0.93, 0.88, 0.8), 0.45);  // a faded fresco
    }

    // The act's light: the first act is lit warm, the rest daylight.
    if (abs(Mode - 2.0) < 0.5) c *= vec3(1.05, 0.98, 0.88);

    // Printed on paper: the grain and tone of the sheet, placed per picture.
    vec2 q = picture * 0.7 + sheet * 3.0;
    vec3 paper = texture(Paper, 1.0 - abs(1.0 - mod(q, 2.0))).rgb;
    c *= mix(vec3(1.0), paper / 0.8, 0.45) * (1.0 + (luma(paper) - 0.78) * 1.5);

    // Stop-motion boil: each picture's exposure shifts a little every step.
    c *= 0.97 + 0.06 * hash12(vec2(frame, sheet * 91.0));

    c *= tint.rgb;
    coverage *= tint.a;
    if (coverage < 0.02) discard;
    colour = vec4(clamp(c, 0.0, 1.0), coverage);
    glow = vec4(emit * tint.rgb, coverage);
    mask = vec4((ObjectType + 10.0) / 40.0, Mode * 0.5, luma(emit), coverage);
}
