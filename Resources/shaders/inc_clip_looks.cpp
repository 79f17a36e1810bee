// The print looks of the cut-outs. Every look starts from the picture's own
// colour and ends as ink on paper, so the scenes stay one collage however
// different the pieces are.

vec3 duotone(vec3 c, vec3 ink, vec3 light) { return mix(ink, light, luma(c)); }

vec3 saturation(vec3 c, float amount) { return mix(vec3(luma(c)), c, amount); }

vec3 posterize(vec3 c, float levels) { return floor(c * levels + 0.5) / levels; }

// Ink share of a dot screen at p (in picture heights) for a tone in [0, 1]:
// dark tones print big dots that merge, light ones small dots.
float halftone(float tone, vec2 p, float cells, float angle) {
    float s = sin(angle), c = cos(angle);
    vec2 q = mat2(c, -s, s, c) * p * cells;
    float r = length(fract(q) - 0.5);
    float radius = sqrt(max(1.0 - tone, 0.0)) * 0.72;
    return 1.0 - smoothstep(radius - 0.08, radius + 0.08, r);
}

// Parallel engraving lines that thicken in the shadows.
float hatch(float tone, vec2 p, float cells) {
    float line = abs(fract((p.x * 0.6 + p.y) * cells) - 0.5) * 2.0;
    return 1.0 - smoothstep(tone - 0.15, tone + 0.15, line);
}

// One of a few coloured papers, picked by the picture so each cut-out keeps
// its own sheet.
vec3 craftPaper(float pick) {
    int i = int(floor(pick * 5.0));
    if (i == 0) return vec3(0.86, 0.33, 0.26);
    if (i == 1) return vec3(0.22, 0.42, 0.66);
    if (i == 2) return vec3(0.93, 0.74, 0.25);
    if (i == 3) return vec3(0.27, 0.55, 0.38);
    return vec3(0.55, 0.32, 0.55);
}
