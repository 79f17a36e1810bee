// stroke_font.h - the launcher's built-in font and its text drawer.
//
// A glyph is a byte string of triangle strips on a 16 x 16 grid: each byte is
// one vertex (high nibble x, low nibble y, each times 1/16 of a glyph cell),
// 0xFF ends the current strip, and a strip that starts with 0xFF ends the
// glyph. Glyph y grows upward from the baseline. Codes 0-31, 127 and 128 and
// above share glyph 0; the space is empty.
#pragma once
#include <string>

constexpr unsigned char GLYPH_END = 0xFF;

// The glyph table, indexed by character code (0..127).
const std::string& strokeGlyph(unsigned char code);

// The advance after character i of text: 1.0 by default, narrower around
// 'i', 't', 'f', 'l', '1', '.', ',' and ':'.
float strokeAdvance(const char* text, int i);

// Draws text at the origin of the current model-view matrix, a glyph cell
// being 14 x 20 units and rising above the baseline (the launcher's model
// space has y growing downward). Leaves blending off and depth testing on.
void drawStrokeText(const char* text);
