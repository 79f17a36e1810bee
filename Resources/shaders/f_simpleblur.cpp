#version 330 compatibility
// A small box blur of one texture; kept for effects that want a soft copy.

uniform sampler2D texture2d;

in vec2 uv;
layout(location = 0) out vec4 colour;

void main() {
    vec2 texel = 1.0 / vec2(textureSize(texture2d, 0));
    vec4 sum = vec4(0.0);
    for (int y = -1; y <= 1; y++)
        for (int x = -1; x <= 1; x++) sum += texture(texture2d, uv + vec2(x, y) * texel * 1.5);
    colour = sum / 9.0;
}
