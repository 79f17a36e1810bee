#version 330 compatibility
// The picture as a print on film: gate weave, a warm grade with lifted
// blacks, exposure flicker, sparse dust, the far distance hazed, and the
// fade at the end of the show.

uniform sampler2D texture2d;       // the post-processed scene
uniform sampler2D texture2ddepth;  // scene depth
uniform sampler2D texture2d2;      // sprites' glow colour
uniform float k0, k1, k2, k3, k4, k5;
uniform float TheType;
uniform float ttime;   // scene time
uniform float fttime;  // raw time

in vec2 uv;
in vec2 weave;
layout(location = 0) out vec4 colour;

#include "Resources//shaders//inc_film.cpp"

const float SHOW_END = 273.0;

// A dark speck that lives for one stop-motion frame, a few on screen at once.
float dust(vec2 p, float frame, vec2 size) {
    vec2 cell = floor(p * vec2(9.0, 5.0));
    float h = hash12(cell + frame * 13.0);
    if (h < 0.93) return 0.0;
    vec2 centre = (cell + vec2(hash12(cell + frame), hash12(cell - frame))) / vec2(9.0, 5.0);
    vec2 d = (p - centre) * size / size.y;
    float r = 0.0009 + 0.0025 * hash12(cell * 3.0 + frame);
    return 1.0 - smoothstep(r * 0.5, r, length(d));
}

void main() {
    vec2 size = vec2(textureSize(texture2d, 0));
    vec2 p = uv + weave;
    vec3 c = texture(texture2d, p).rgb;

    // Far things sink into a warm haze, like stage flats in a deep box.
    float d = texture(texture2ddepth, p).r;
    float far = smoothstep(0.985, 0.9995, d) * step(d, 0.99999);
    c = mix(c, vec3(0.16, 0.13, 0.10), far * 0.35);

    // Grade: lifted, warm shadows; highlights rolled off softly.
    c = c / (1.0 + 0.35 * c);
    c = pow(max(c, 0.0), vec3(0.95, 0.98, 1.05));
    c = mix(vec3(0.035, 0.028, 0.022), vec3(1.02, 0.99, 0.93), c);

    float frame = stopMotionFrame(fttime);
    c *= 0.97 + 0.05 * hash12(vec2(frame, 1.7));  // exposure flicker
    c *= 1.0 - 0.6 * dust(uv, frame, size);
    c += filmGrain(gl_FragCoord.xy + 91.0, fttime) * 0.025;

    c *= clamp((SHOW_END - ttime) / 3.0, 0.0, 1.0);  // the last three seconds fade out
    colour = vec4(clamp(c, 0.0, 1.0), 1.0);
}
