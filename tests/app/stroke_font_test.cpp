#include "app/stroke_font.h"

#include <gtest/gtest.h>
#include <set>

TEST(StrokeFont, AdvanceRulesApplyInOrder) {
    EXPECT_FLOAT_EQ(strokeAdvance("ab", 0), 1.0f);
    EXPECT_FLOAT_EQ(strokeAdvance("ai", 0), 0.67f);  // next is 'i'
    EXPECT_FLOAT_EQ(strokeAdvance("ai", 1), 1.0f);   // 'i' in the last position keeps 1
    EXPECT_FLOAT_EQ(strokeAdvance("it", 0), 0.7f);   // 't' overrides 'i'
    EXPECT_FLOAT_EQ(strokeAdvance("t", 0), 0.7f);    // 't' counts at the end too
    EXPECT_FLOAT_EQ(strokeAdvance("fa", 0), 0.75f);
    EXPECT_FLOAT_EQ(strokeAdvance("fl", 0), 0.7f);   // 'l' overrides 'f'
    EXPECT_FLOAT_EQ(strokeAdvance("ll", 0), 0.4f);
    EXPECT_FLOAT_EQ(strokeAdvance("ll", 1), 0.7f);   // the second 'l' is followed by NUL
    EXPECT_FLOAT_EQ(strokeAdvance("x1", 0), 0.7f);
    EXPECT_FLOAT_EQ(strokeAdvance("a.", 0), 0.7f);
    EXPECT_FLOAT_EQ(strokeAdvance(",a", 0), 0.7f);
    EXPECT_FLOAT_EQ(strokeAdvance("a:", 0), 0.7f);
}

// Every glyph is a list of strips terminated by 0xFF, ended by an empty strip,
// each strip at least one triangle.
static bool wellFormed(const std::string& glyph) {
    size_t k = 0;
    while (k < glyph.size() && static_cast<unsigned char>(glyph[k]) != GLYPH_END) {
        size_t start = k;
        while (k < glyph.size() && static_cast<unsigned char>(glyph[k]) != GLYPH_END) ++k;
        if (k == glyph.size() || k - start < 3) return false;
        ++k;
    }
    return k + 1 == glyph.size();
}

TEST(StrokeFont, GlyphTableCoversPrintableAscii) {
    std::set<std::string> distinct;
    for (int c = 0; c < 128; ++c) {
        const std::string& glyph = strokeGlyph(static_cast<unsigned char>(c));
        EXPECT_TRUE(wellFormed(glyph)) << "code " << c;
        if (c < 32 || c == 127) {
            EXPECT_EQ(glyph, strokeGlyph(0)) << "code " << c;
        } else if (c > 32) {
            EXPECT_GT(glyph.size(), 1u) << "code " << c << " has no strokes";
        }
        distinct.insert(glyph);
    }
    EXPECT_EQ(distinct.size(), 96u);  // glyph 0, the space and 94 printable glyphs
    EXPECT_EQ(strokeGlyph(' '), std::string(1, static_cast<char>(GLYPH_END)));
    EXPECT_EQ(strokeGlyph(200), strokeGlyph(0));
}
