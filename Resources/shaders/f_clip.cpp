#version 330 compatibility
// The cut-outs: pictures on a green key and mesh renders on transparent cyan
// become printed paper shapes. ObjectType picks how the picture is printed
// (the ink, the paper stock, the screen), Mode the paper of the act,
// OtherFlow sinks a sprite below a moving line (nails into the wall, fish
// into the water) and TextureSeeThrough lets the figure show through the
// back clouds. A figure keeps its costume, face and outline under every
// print. Output 1 is glow for the post-process, output 2 a mask: ObjectType
// and Mode encoded, alpha the coverage.

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

// The printed colour of a picture colour c under the current ObjectType, with
// what it gives off as glow and how opaque its paper is. `picture` is the
// position in picture heights, `cells` the screen ruling per picture height.
struct Print {
    vec3 colour;
    vec3 glow;
    float opacity;
};

Print printed(vec3 c, vec2 picture, float cells, float frame, float sheet) {
    float tone = luma(c);
    Print o = Print(c, vec3(0.0), 1.0);
    if (isType(0.0)) {
        // The back wall: old wallpaper, its colours faded, its ink worn brown.
        o.colour = mix(duotone(c, vec3(0.22, 0.16, 0.12), PAPER_WHITE), saturation(c, 0.6), 0.45);
    } else if (isType(1.0)) {
        o.colour = saturation(c, 0.95) * 0.97 + 0.015;  // a plain colour print
    } else if (isType(1.5)) {
        // Planets: a poster in flat spot colours, a coarse dot in the shade,
        // shining a little.
        vec3 spot = c * (steppedTone(tone, 4.0) / max(tone, 0.03));
        o.colour = mix(spot, spot * 0.45, halftone(tone + 0.35, picture, cells * 0.5, 0.785));
        o.glow = spot * 0.3;
    } else if (isType(1.77)) {
        o.colour = mix(PAPER_WHITE, INK_SEPIA, hatch(tone, picture, cells));  // a brown engraving
    } else if (isType(1.991)) {
        // The television: a line-screen block in blue ink, the screen
        // jumping brighter on random frames.
        float jump = step(0.8, hash12(vec2(frame, 3.1)));
        o.colour = mix(vec3(0.74, 0.85, 0.99), INK_PRUSSIAN, lineScreen(tone + 0.15 * jump, picture.y, cells * 0.5));
        o.glow = o.colour * vec3(0.2, 0.3, 0.45);
    } else if (isType(2.0)) {
        o.colour = mix(c, duotone(c, INK_SEPIA, PAPER_WHITE), 0.65);  // hand-tinted sepia
    } else if (isType(2.13)) {
        // Gold leaf, with a glint that jumps from frame to frame.
        float band = fract(picture.x * 0.7 + picture.y * 0.5 - hash12(vec2(frame, 7.0)));
        float glint = 1.0 - smoothstep(0.0, 0.06, abs(band - 0.5));
        o.colour = duotone(c, INK_GOLD, LEAF_GOLD);
        o.colour = mix(o.colour, LEAF_GOLD, glint * 0.5);
        o.glow = vec3(1.0, 0.75, 0.3) * (0.12 + glint * 0.3) * tone;
    } else if (isType(2.715)) {
        // Ghost angels: blue ink on vellum that lets the scene through.
        o.colour = duotone(c, INK_PRUSSIAN * 1.5, vec3(0.74, 0.85, 1.0));
        o.glow = o.colour * 0.25;
        o.opacity = 0.82;
    } else if (isType(3.0)) {
        // A woodcut in colour: the picture's colours in flat steps, its
        // shading cut as gouge lines between them.
        o.colour = clamp(c * (carvedTone(tone, 3.0, picture, cells * 0.6) / max(tone, 0.03)), 0.0, 1.0);
    } else if (isType(3.7)) {
        o.colour = duotone(c, INK_PRUSSIAN, vec3(0.74, 0.86, 0.99));  // cyanotype
    } else if (isType(3.86)) {
        o.colour = duotone(c, vec3(0.36, 0.02, 0.03), vec3(1.0, 0.62, 0.58));  // red ink, wet
        o.glow = vec3(0.8, 0.1, 0.1) * 0.4;
    } else if (isType(4.0)) {
        // The gilded frame: leaf that catches the light in steps.
        float light = 0.9 + 0.2 * hash12(vec2(floor(picture.y * 6.0), frame));
        o.colour = duotone(c * light, INK_GOLD, LEAF_GOLD);
        o.glow = vec3(0.6, 0.45, 0.15) * 0.15;
    } else if (isType(5.0)) {
        // An albumen photograph: brown, contrasty, darker towards its edges.
        float vignette = 1.0 - 1.2 * dot(uv - 0.5, uv - 0.5);
        o.colour = duotone(c * vignette, vec3(0.12, 0.08, 0.05), vec3(0.97, 0.92, 0.82));
        o.colour = mix(o.colour, (o.colour - 0.5) * 1.25 + 0.5, 0.7);
    } else if (isType(5.59)) {
        // The logo stamped in red ink, the stamp pressed harder on random frames.
        float press = step(0.7, hash12(vec2(frame, 9.0)));
        o.colour = duotone(c, mix(INK_VERMILION, vec3(0.45, 0.05, 0.04), press), PAPER_WHITE);
        o.glow = o.colour * (0.2 + 0.4 * press) * (1.0 - tone);
    } else if (isType(5.82)) {
        // Newsprint: black dots on grey paper.
        o.colour = mix(vec3(0.88, 0.86, 0.8), INK_BLACK, halftone(tone, picture, cells * 0.6, 0.785));
    } else if (isType(8.0)) {
        o.colour = clamp(saturation((c - 0.5) * 1.15 + 0.5, 1.15), 0.0, 1.0);  // a crisp magazine cut-out
    } else if (isType(8.74)) {
        o.colour = duotone(c, vec3(0.3, 0.07, 0.04), vec3(1.0, 0.8, 0.6));  // red chalk
    } else if (isType(9.0)) {
        // Green ink, the night forest.
        o.colour = mix(c, duotone(c, vec3(0.04, 0.14, 0.09), vec3(0.78, 0.95, 0.7)), 0.8);
    } else if (isType(10.0)) {
        // A hand-coloured gravure: a fine screen of warm black ink, the
        // picture's colours laid over it in a thin wash.
        float ink = hatch(tone, picture, cells);
        o.colour = mix(mix(PAPER_WHITE, c, 0.75), vec3(0.1, 0.08, 0.07), ink * 0.85);
    } else if (isType(11.0)) {
        o.colour = mix(c, duotone(c, vec3(0.2, 0.08, 0.03), vec3(0.96, 0.7, 0.5)), 0.75);  // iron-oxide ink
    } else if (isType(12.0)) {
        // Red flock paper: the folds of the picture in two reds, a nap of fibres.
        float nap = 0.9 + 0.1 * fibre(picture * vec2(400.0, 14.0));
        o.colour = duotone(c * nap, vec3(0.32, 0.02, 0.04), vec3(0.98, 0.22, 0.2));
    } else if (isType(12.236)) {
        o.colour = duotone(c, vec3(0.0, 0.1, 0.14), vec3(0.6, 0.92, 0.86));  // under water: teal ink
        o.glow = vec3(0.05, 0.25, 0.25) * tone;
    } else if (isType(13.0)) {
        // A paper theatre lit from behind by a lamp: warm, deep colours that glow.
        o.colour = saturation(c, 1.2) * vec3(1.07, 0.95, 0.8);
        o.glow = c * 0.45;
    } else if (isType(14.0)) {
        // White line on blue card: pale ink where the picture is dark.
        o.colour = mix(vec3(0.06, 0.13, 0.24), vec3(0.78, 0.9, 1.0), 1.0 - tone);
        o.glow = o.colour * 0.3;
    } else if (isType(-1.0)) {
        // Coloured card, the drawing printed on it in dark ink.
        o.colour = cardStock(sheet) * mix(vec3(0.16), vec3(1.0), tone);
    } else if (isType(-10.0)) {
        o.colour = mix(saturation(c, 0.5), vec3(0.93, 0.88, 0.8), 0.4);  // a faded fresco
    }
    return o;
}

// Black card torn, not cut, along its left and right sides: the card is
// kept at `at` (x) only if it reaches a ragged few texels further out
// towards the nearer side, and (y) its paler core shows along the tear.
vec2 tornSides(vec2 at) {
    float along = at.y * texture_height;
    float outward = (at.x < 0.5 ? -1.0 : 1.0) / texture_width;
    float seed = at.x < 0.5 ? 3.0 : 17.0;
    float ragged = 0.55 * fibre(vec2(along / 40.0, seed)) + 0.3 * fibre(vec2(along / 11.0, seed + 5.0))
                 + 0.15 * fibre(vec2(along / 3.0, seed + 9.0));
    float tear = 2.0 + 16.0 * ragged;
    float core = 1.5 + 3.5 * fibre(vec2(along / 2.5, seed + 13.0));
    float kept = coverageOf(texture(Texture, at + vec2(outward * tear, 0.0)));
    float beyond = coverageOf(texture(Texture, at + vec2(outward * (tear + core), 0.0)));
    return vec2(kept, kept * (1.0 - beyond));
}

void main() {
    float aspect = texture_width / max(texture_height, 1.0);
    vec2 picture = uv * vec2(aspect, 1.0);  // in picture heights
    float frame = ittime * 10.0;
    float sheet = hash12(vec2(texture_width, texture_height));  // this picture's own randomness
    bool figure = OtherMode > 0.5;
    // Screens rule a line every five texels, on a figure's render every
    // eight pixels of a 1080-row target.
    float cells = figure ? 135.0 : max(texture_height, 64.0) / 5.0;

    vec2 p = uv;
    if (isType(12.236)) p.x += sin(uv.y * 9.0 + frame * 0.7) * 0.012;  // under water
    vec4 t = texture(Texture, p);
    float coverage = coverageOf(t);
    vec3 c = unmixed(t);
    float cutEdge = fwidth(coverage);  // taken before any branch: the card's cut edge below

    if (figure) {
        float rim = smoothstep(0.3, 0.6, ringCoverage(p, vec2(MARGIN / aspect, MARGIN)));
        c = mix(PAPER_WHITE, c, coverage);
        coverage = max(coverage, rim);
    }

    // Sinking: what lies past the line is inside the wall or under the water,
    // and the line itself is printed as the lip it sinks behind.
    float sinkLine = 1.0 + min(OtherFlow, 0.0) * 0.6;
    float lipWidth = 2.5 * fwidth(uv.y);
    float lip = step(OtherFlow, -0.0001) * smoothstep(sinkLine - 0.01 - lipWidth, sinkLine - 0.01, uv.y);
    coverage *= 1.0 - smoothstep(sinkLine - 0.01, sinkLine, uv.y);

    // Black card is torn along its sides, not cut: what lies beneath shows
    // past the ragged line, and the card's paler core along it.
    float darkCard = 1.0 - smoothstep(0.08, 0.3, luma(tint.rgb));
    float tornCore = 0.0;
    if (darkCard > 0.5) {
        vec2 torn = tornSides(uv);
        coverage *= torn.x;
        tornCore = torn.y;
    }

    if (pass > 0.5) {
        if (coverage < 0.02) discard;
        colour = vec4(0.0, 0.0, 0.0, coverage);
        glow = vec4(0.0);
        mask = vec4(0.0, 0.0, 0.0, coverage);
        return;
    }

    Print o = printed(c, picture, cells, frame, sheet);
    // A figure is the same figure in every print: its own colours, face and
    // outline lead, the print only tints it. White line on blue card would
    // turn it into a negative: it stands in cold blue light instead.
    if (figure) {
        if (isType(14.0))
            o.colour = c * vec3(0.8, 0.9, 1.06);
        else if (!isType(10.0) && !isType(13.0))
            o.colour = mix(o.colour, c, 0.4);
    }
    if (isType(20.0)) {
        // Back clouds printed on thin paper: the figure behind shows through
        // the light cloud as itself, its outline inked where it ends.
        vec4 behind = texture(TextureSeeThrough, gl_FragCoord.xy / vec2(textureSize(TextureSeeThrough, 0)));
        float through = behind.a * smoothstep(0.25, 0.75, luma(c));
        vec3 person = mix(unmixed(behind), INK_BLACK, smoothstep(0.1, 0.4, fwidth(behind.a)));
        o.colour = mix(c, person * 0.95, through * 0.85);
    }
    c = mix(o.colour, INK_BLACK, lip * 0.8);

    // The act's paper: the first acts are printed on a warmer stock.
    vec3 stock = abs(Mode - 2.0) < 0.5 ? vec3(1.03, 0.99, 0.93) : vec3(1.0);

    // Printed on paper: the grain of the sheet, placed per picture, and a
    // little of its cream, so a stock the look names keeps its colour.
    vec2 q = picture * 0.7 + sheet * 3.0;
    vec3 paper = texture(Paper, 1.0 - abs(1.0 - mod(q, 2.0))).rgb;
    vec3 cream = paper / max(luma(paper), 0.05);
    vec3 sheetTone = mix(vec3(1.0), cream, 0.2) * (1.0 + (luma(paper) - 0.78) * 2.0) * stock;

    // Stop-motion boil: each picture's exposure shifts a little every step.
    sheetTone *= 0.97 + 0.06 * hash12(vec2(frame, sheet * 91.0));

    // A dark tint cuts the shape from black card instead of darkening the
    // print to a hole: the picture printed tone on tone in a dark grey ink,
    // the cut edge catching the light.
    vec3 card = vec3(0.04, 0.036, 0.034) + vec3(0.1, 0.09, 0.08) * luma(c) * (0.8 + 0.4 * luma(paper))
              + vec3(0.2, 0.18, 0.15) * smoothstep(0.02, 0.2, cutEdge);
    c = mix(c * sheetTone * tint.rgb, card, darkCard);
    c = mix(c, vec3(0.3, 0.27, 0.24) * sheetTone, tornCore * 0.85);

    coverage *= tint.a * o.opacity;
    if (coverage < 0.02) discard;
    colour = vec4(clamp(c, 0.0, 1.0), coverage);
    glow = vec4(o.glow * tint.rgb, coverage);
    mask = vec4((ObjectType + 10.0) / 40.0, Mode * 0.5, luma(o.glow), coverage);
}
