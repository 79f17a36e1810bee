// The print shop of the cut-outs: inks, paper stocks and the screens that lay
// ink on paper. Every look mixes an ink towards a paper by one amount per
// texel, the same for red, green and blue, so an ink edge never splits into
// colours.

const vec3 PAPER_WHITE = vec3(0.97, 0.94, 0.87);
const vec3 INK_BLACK = vec3(0.08, 0.07, 0.07);
const vec3 INK_SEPIA = vec3(0.25, 0.14, 0.08);
const vec3 INK_PRUSSIAN = vec3(0.05, 0.13, 0.30);
const vec3 INK_VERMILION = vec3(0.70, 0.13, 0.09);
const vec3 INK_GOLD = vec3(0.26, 0.15, 0.04);
const vec3 LEAF_GOLD = vec3(1.0, 0.84, 0.42);

vec3 duotone(vec3 c, vec3 ink, vec3 paper) { return mix(ink, paper, luma(c)); }

vec3 saturation(vec3 c, float amount) { return mix(vec3(luma(c)), c, amount); }

// A screen finer than about three pixels prints as its average tone: the
// dots would only shimmer.
float screenFade(float cellsPerPixel) { return smoothstep(0.2, 0.45, cellsPerPixel); }

// Ink share of a screen for a tone in [0, 1], from `line`, the distance to
// the middle of a dot or rule (0 there, 1 farthest off) and `x`, the screen
// position whose change per pixel says how fine the screen prints. White
// paper stays clean, full shadow closes up solid.
float screenInk(float tone, float line, float x) {
    float dark = clamp(1.0 - tone, 0.0, 1.0);
    float w = 0.04 + 2.0 * fwidth(x);
    float ink = (1.0 - smoothstep(dark - w, dark + w, line)) * smoothstep(0.0, 0.1, dark);
    return mix(ink, dark, screenFade(fwidth(x)));
}

// A dot screen at p, `cells` dots per unit, turned by `angle`.
float halftone(float tone, vec2 p, float cells, float angle) {
    float s = sin(angle), c = cos(angle);
    vec2 q = mat2(c, -s, s, c) * p * cells;
    float r = length(fract(q) - 0.5) * 1.414;
    return screenInk(tone, r * r, q.x);
}

// Parallel engraving lines that thicken in the shadows.
float hatch(float tone, vec2 p, float cells) {
    float x = (p.x * 0.6 + p.y) * cells;
    return screenInk(tone, abs(fract(x) - 0.5) * 2.0, x);
}

// Horizontal rules, as a line-screen block prints them.
float lineScreen(float tone, float y, float cells) {
    float x = y * cells;
    return screenInk(tone, abs(fract(x) - 0.5) * 2.0, x);
}

// The tone in `levels` flat steps, as a relief block prints it, the step
// edges kept a pixel soft.
float steppedTone(float tone, float levels) {
    float x = tone * levels;
    float w = 0.02 + fwidth(x);
    return (floor(x) + smoothstep(0.5 - w, 0.5 + w, fract(x))) / levels;
}

// A gouge's cuts: lines down the block, the way cloth falls and grain
// runs, a little unsteady as a hand cuts them.
float gouge(float tone, vec2 p, float cells) {
    float x = p.x * cells + 0.15 * sin(p.y * 7.0);
    return screenInk(tone, abs(fract(x) - 0.5) * 2.0, x);
}

// The tone as a woodcut cuts it: flat steps, and between two steps the
// gouge's parallel lines, denser towards the darker one.
float carvedTone(float tone, float levels, vec2 p, float cells) {
    float x = clamp(tone, 0.0, 1.0) * levels;
    return (floor(x) + 1.0 - gouge(fract(x), p, cells)) / levels;
}

// One of a few card stocks, picked by the picture so each cut-out keeps its
// own sheet.
vec3 cardStock(float pick) {
    int i = int(floor(pick * 5.0));
    if (i == 0) return vec3(0.82, 0.46, 0.38);  // brick
    if (i == 1) return vec3(0.52, 0.64, 0.76);  // slate blue
    if (i == 2) return vec3(0.86, 0.74, 0.52);  // buff
    if (i == 3) return vec3(0.58, 0.70, 0.56);  // sage
    return vec3(0.72, 0.58, 0.70);              // heather
}
