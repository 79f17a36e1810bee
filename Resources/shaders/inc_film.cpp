// Shared by the cut-outs and the full-screen passes: hashing for grain and
// paper, and the stop-motion clock. The show is animated "on twelves", so grain and flicker step at
// 12 frames a second whatever the display rate.

float hash12(vec2 p) {
    vec3 q = fract(vec3(p.xyx) * 0.1031);
    q += dot(q, q.yzx + 33.33);
    return fract((q.x + q.y) * q.z);
}

float stopMotionFrame(float seconds) { return floor(seconds * 12.0); }

// Luma-weighted grain in [-0.5, 0.5], new every stop-motion frame.
float filmGrain(vec2 pixel, float seconds) {
    float frame = stopMotionFrame(seconds);
    return hash12(pixel + vec2(frame * 17.0, frame * 59.0)) - 0.5;
}

float luma(vec3 c) { return dot(c, vec3(0.299, 0.587, 0.114)); }

// Value noise: the fibres and mottle of a sheet of paper or card.
float fibre(vec2 p) {
    vec2 i = floor(p), f = fract(p);
    f = f * f * (3.0 - 2.0 * f);
    return mix(mix(hash12(i), hash12(i + vec2(1.0, 0.0)), f.x),
               mix(hash12(i + vec2(0.0, 1.0)), hash12(i + vec2(1.0, 1.0)), f.x), f.y);
}
