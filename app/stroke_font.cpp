#include "app/stroke_font.h"

#include <GL/glew.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Glyph outlines as polylines on the grid: "x y x y ...", polylines separated
// by ';'. Capitals stand on y = 3 and reach y = 15; lower case has its
// x-height bar at y = 10 and descends to y = 0. Every segment becomes one
// strip two grid steps thick: to the right of steep segments, above shallow
// ones, so coordinates give a stroke's left or lower edge.
struct GlyphOutline { char code; const char* polylines; };

static const GlyphOutline OUTLINES[] = {
    {'\0', "2 3 2 15; 10 3 10 15; 2 3 10 3; 2 13 10 13"},  // shown for unprintable codes
    {' ', ""},
    {'!', "6 7 6 15; 6 3 6 5"},
    {'"', "4 11 4 15; 8 11 8 15"},
    {'#', "4 3 4 15; 8 3 8 15; 2 6 12 6; 2 10 12 10"},
    {'$', "2 3 10 3; 10 3 10 8; 2 7 10 7; 2 7 2 13; 2 12 12 12; 6 1 6 15"},
    {'%', "2 3 10 15; 2 11 2 15; 9 3 9 7"},
    {'&', "2 3 8 3; 2 3 2 8; 2 8 7 13; 3 13 7 13; 3 11 3 15; 3 11 11 3"},
    {'\'', "6 11 6 15"},
    {'(', "6 5 6 13; 6 5 8 3; 6 13 8 15"},
    {')', "6 5 6 13; 4 3 6 5; 4 15 6 13"},
    {'*', "6 6 6 14; 2 9 12 9; 3 6 9 12; 3 12 9 6"},
    {'+', "6 5 6 13; 2 8 12 8"},
    {',', "5 0 7 4"},
    {'-', "3 8 11 8"},
    {'.', "5 3 5 5"},
    {'/', "2 3 10 15"},
    {'0', "4 3 10 3; 4 13 10 13; 2 5 2 13; 10 5 10 13; 2 5 4 3; 8 3 10 5; 2 13 4 15; 8 15 10 13; 4 5 8 13"},
    {'1', "6 3 6 15; 3 12 6 15; 3 3 11 3"},
    {'2', "2 3 12 3; 2 5 10 9; 10 9 10 13; 8 15 10 13; 4 13 8 13; 2 11 4 13"},
    {'3', "2 3 8 3; 8 3 10 5; 10 5 10 10; 4 8 10 8; 10 10 10 13; 2 13 8 13; 8 15 10 13"},
    {'4', "8 3 8 15; 2 6 12 6; 2 6 8 15"},
    {'5', "2 13 12 13; 2 8 2 13; 2 8 10 8; 10 3 10 10; 2 3 10 3"},
    {'6', "4 13 12 13; 2 3 2 13; 2 13 4 15; 2 3 10 3; 10 3 10 10; 2 8 10 8"},
    {'7', "2 13 12 13; 10 13 5 3"},
    {'8', "2 3 10 3; 2 3 2 10; 10 3 10 10; 3 8 10 8; 3 10 3 15; 9 10 9 15; 3 13 11 13"},
    {'9', "2 3 10 3; 10 3 10 15; 2 13 10 13; 2 8 2 13; 2 8 10 8"},
    {':', "5 3 5 5; 5 9 5 11"},
    {';', "5 0 7 4; 6 9 6 11"},
    {'<', "4 8 12 13; 4 8 12 3"},
    {'=', "2 6 12 6; 2 10 12 10"},
    {'>', "2 13 12 8; 2 3 12 8"},
    {'?', "2 13 12 13; 10 8 10 13; 6 8 10 8; 6 6 6 8; 6 3 6 5"},
    {'@', "2 3 12 3; 2 3 2 15; 2 13 10 13; 10 6 10 13; 6 6 10 6; 6 6 6 10; 6 10 10 10"},
    {'A', "2 3 6 15 10 3; 4 8 10 8"},
    {'B', "2 3 2 15; 2 3 10 3; 2 8 9 8; 2 13 9 13; 10 4 10 8; 9 10 9 13"},
    {'C', "4 3 12 3; 4 13 12 13; 2 5 2 13; 2 5 4 3; 2 13 4 15"},
    {'D', "2 3 2 15; 2 3 8 3; 2 13 8 13; 10 5 10 13; 8 3 10 5; 8 15 10 13"},
    {'E', "2 3 2 15; 2 3 12 3; 2 8 10 8; 2 13 12 13"},
    {'F', "2 3 2 15; 2 8 10 8; 2 13 12 13"},
    {'G', "4 3 12 3; 4 13 12 13; 2 5 2 13; 2 5 4 3; 2 13 4 15; 10 3 10 9; 7 8 12 8"},
    {'H', "2 3 2 15; 10 3 10 15; 2 8 10 8"},
    {'I', "6 3 6 15; 3 3 11 3; 3 13 11 13"},
    {'J', "9 3 9 15; 2 3 11 3; 2 3 2 7; 5 13 12 13"},
    {'K', "2 3 2 15; 4 8 10 15; 4 8 12 3"},
    {'L', "2 3 2 15; 2 3 12 3"},
    {'M', "2 3 2 15; 10 3 10 15; 2 15 6 8; 6 8 10 15"},
    {'N', "2 3 2 15; 10 3 10 15; 2 15 10 3"},
    {'O', "4 3 10 3; 4 13 10 13; 2 5 2 13; 10 5 10 13; 2 5 4 3; 8 3 10 5; 2 13 4 15; 8 15 10 13"},
    {'P', "2 3 2 15; 2 13 10 13; 2 8 10 8; 10 9 10 13"},
    {'Q', "4 3 10 3; 4 13 10 13; 2 5 2 13; 10 5 10 13; 2 5 4 3; 8 3 10 5; 2 13 4 15; 8 15 10 13; 7 7 12 2"},
    {'R', "2 3 2 15; 2 13 10 13; 2 8 10 8; 10 9 10 13; 6 8 10 3"},
    {'S', "2 3 10 3; 8 3 10 5; 10 5 10 9; 4 8 10 8; 2 10 2 13; 2 10 4 8; 4 13 12 13; 2 13 4 15"},
    {'T', "6 3 6 15; 2 13 12 13"},
    {'U', "2 5 2 15; 10 5 10 15; 4 3 10 3; 2 5 4 3; 8 3 10 5"},
    {'V', "2 15 6 3 10 15"},
    {'W', "2 3 2 15; 10 3 10 15; 2 3 6 10 10 3"},
    {'X', "2 3 10 15; 2 15 10 3"},
    {'Y', "6 3 6 8; 2 15 6 8; 10 15 6 8"},
    {'Z', "2 13 12 13; 2 3 12 3; 10 13 2 5"},
    {'[', "4 3 4 15; 4 3 9 3; 4 13 9 13"},
    {'\\', "2 15 10 3"},
    {']', "8 3 8 15; 3 3 8 3; 3 13 8 13"},
    {'^', "2 10 6 15 10 10"},
    {'_', "1 0 13 0"},
    {'`', "4 15 6 12"},
    {'a', "3 10 10 10; 10 3 10 12; 2 3 10 3; 2 3 2 9; 2 7 10 7"},
    {'b', "2 3 2 15; 2 3 10 3; 2 10 10 10; 10 3 10 12"},
    {'c', "2 3 12 3; 2 3 2 12; 2 10 12 10"},
    {'d', "10 3 10 15; 2 3 10 3; 2 10 10 10; 2 3 2 12"},
    {'e', "2 3 12 3; 2 3 2 12; 2 10 10 10; 10 7 10 12; 2 7 10 7"},
    {'f', "4 3 4 15; 4 13 11 13; 2 9 9 9"},
    {'g', "2 3 10 3; 2 3 2 12; 2 10 10 10; 10 0 10 12; 2 0 10 0"},
    {'h', "2 3 2 15; 2 10 10 10; 10 3 10 12"},
    {'i', "6 3 6 11; 6 13 6 15"},
    {'j', "8 0 8 11; 8 13 8 15; 2 0 8 0; 2 0 2 3"},
    {'k', "2 3 2 15; 4 6 10 12; 4 6 12 3"},
    {'l', "5 3 5 15; 5 3 9 3"},
    {'m', "2 3 2 12; 2 10 12 10; 6 3 6 10; 10 3 10 10"},
    {'n', "2 3 2 12; 2 10 10 10; 10 3 10 12"},
    {'o', "2 3 10 3; 2 10 10 10; 2 3 2 12; 10 3 10 12"},
    {'p', "2 0 2 12; 2 3 10 3; 2 10 10 10; 10 3 10 12"},
    {'q', "10 0 10 12; 2 3 10 3; 2 10 10 10; 2 3 2 12"},
    {'r', "2 3 2 12; 2 10 11 10"},
    {'s', "2 3 10 3; 10 3 10 8; 2 6 10 6; 2 6 2 12; 2 10 12 10"},
    {'t', "5 3 5 15; 2 10 10 10; 5 3 10 3"},
    {'u', "2 3 2 12; 10 3 10 12; 2 3 10 3"},
    {'v', "2 12 6 3 10 12"},
    {'w', "2 3 2 12; 10 3 10 12; 2 3 12 3; 6 3 6 9"},
    {'x', "2 3 10 12; 2 12 10 3"},
    {'y', "2 4 2 12; 2 4 10 4; 10 0 10 12; 2 0 10 0"},
    {'z', "2 10 12 10; 2 3 12 3; 10 10 2 5"},
    {'{', "6 3 6 15; 6 3 10 3; 6 13 10 13; 3 8 6 8"},
    {'|', "6 1 6 15"},
    {'}', "6 3 6 15; 2 3 6 3; 2 13 6 13; 6 8 10 8"},
    {'~', "2 8 5 10 8 8 11 10"},
};

constexpr int STROKE = 2;  // stroke thickness in grid steps

static void appendVertex(std::string& glyph, int x, int y) {
    // Outlines stay inside the grid; 0xFF is the strip terminator and never a vertex.
    if (x < 0 || x > 15 || y < 0 || y > 15 || (x == 15 && y == 15)) {
        fprintf(stderr, "stroke font: vertex (%d, %d) outside the glyph grid\n", x, y);
        abort();
    }
    glyph.push_back(static_cast<char>((x << 4) | y));
}

static std::string buildGlyph(const char* polylines) {
    std::string glyph;
    const char* p = polylines;
    while (*p) {
        // One polyline: read points until ';' or the end.
        int px = 0, py = 0, count = 0;
        while (*p && *p != ';') {
            char* end;
            int x = static_cast<int>(strtol(p, &end, 10));
            int y = static_cast<int>(strtol(end, &end, 10));
            p = end;
            while (*p == ' ') ++p;
            if (count++ > 0) {
                int dx = x - px, dy = y - py;
                bool steep = std::abs(dx) <= std::abs(dy);
                int ox = steep ? STROKE : 0, oy = steep ? 0 : STROKE;
                appendVertex(glyph, px, py);
                appendVertex(glyph, px + ox, py + oy);
                appendVertex(glyph, x, y);
                appendVertex(glyph, x + ox, y + oy);
                glyph.push_back(static_cast<char>(GLYPH_END));
            }
            px = x;
            py = y;
        }
        if (*p == ';') ++p;
        while (*p == ' ') ++p;
    }
    glyph.push_back(static_cast<char>(GLYPH_END));
    return glyph;
}

static std::array<std::string, 128> buildGlyphTable() {
    std::array<std::string, 128> table;
    for (const GlyphOutline& outline : OUTLINES) table[static_cast<unsigned char>(outline.code)] = buildGlyph(outline.polylines);
    for (int c = 0; c < 128; ++c)
        if (c < 32 || c == 127) table[c] = table[0];
    return table;
}

const std::string& strokeGlyph(unsigned char code) {
    static const std::array<std::string, 128> table = buildGlyphTable();
    return table[code < 128 ? code : 0];
}

float strokeAdvance(const char* text, int i) {
    char c = text[i];
    char n = text[i + 1];  // the terminating NUL after the last character
    auto either = [&](char k) { return c == k || n == k; };
    float s = 1.0f;
    if (n != '\0' && either('i')) s = 0.67f;
    if (either('t')) s = 0.7f;
    if (either('f')) s = 0.75f;
    if (either('l')) s = 0.7f;
    if (either('1')) s = 0.7f;
    if (either('.')) s = 0.7f;
    if (either(',')) s = 0.7f;
    if (either(':')) s = 0.7f;
    if (c == 'l' && n == 'l') s = 0.4f;
    return s;
}

static void drawGlyph(const std::string& glyph, float a) {
    size_t k = 0;
    while (k < glyph.size() && static_cast<unsigned char>(glyph[k]) != GLYPH_END) {
        glBegin(GL_TRIANGLE_STRIP);
        for (; k < glyph.size() && static_cast<unsigned char>(glyph[k]) != GLYPH_END; ++k) {
            unsigned char v = static_cast<unsigned char>(glyph[k]);
            glVertex3f(a + (v >> 4) * 0.0625f, (v & 15) * 0.0625f, 0.0f);
        }
        glEnd();
        ++k;  // past the strip's terminator
    }
}

void drawStrokeText(const char* text) {
    glDisable(GL_DEPTH_TEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glEnable(GL_POLYGON_SMOOTH);
    glPushMatrix();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPushMatrix();
    glScalef(14.0f, -20.0f, 20.0f);
    float a = 0.0f;
    for (int i = 0; text[i] != '\0'; ++i) {
        drawGlyph(strokeGlyph(static_cast<unsigned char>(text[i])), a);
        a += strokeAdvance(text, i);
    }
    glPopMatrix();
    glDisable(GL_BLEND);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
}
