// A 5 x 7 pixel font for printable ASCII, drawn into the sample desktop.
#pragma once

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;
constexpr int kGlyphAdvance = 6;  // one column of space between letters

// The seven rows of the glyph ('#' = ink, '.' = paper); '?' for characters
// outside printable ASCII.
const char* const* GlyphRows(char ch);
