// SPDX-License-Identifier: GPL-3.0-or-later
// The form of the glyph table (GlyphTable.cpp, made by tools/glyphs/
// MakeGlyphTable): per pixel height the face's metrics and, for each
// printable ASCII character, its advance and its ink. GlyphText.h reads it.
#pragma once

#include <cstddef>

inline constexpr char GlyphFirstCharacter = 0x20;
inline constexpr char GlyphLastCharacter = 0x7E;
inline constexpr int GlyphCount = GlyphLastCharacter - GlyphFirstCharacter + 1;

// Ink is a block of InkWidth columns whose top-left pixel lies InkLeft
// columns right of the pen and InkTop rows below the top of the text box
// (either may be negative: ink overhangs the advance and the box). Its rows
// follow one another in Ink, each as (InkWidth + 3) / 4 hexadecimal digits,
// four columns a digit from the left, the leftmost in the highest bit (the
// row #.##. is "b0"); an empty Ink has none. Hexadecimal rather than a
// character a pixel keeps the table a quarter of the size in every program
// that holds it (the page's module among them).
struct GlyphSource {
    char Character;
    int Advance;
    int InkLeft;
    int InkTop;
    int InkWidth;
    const char* Ink;
};

struct GlyphFaceSource {
    int PixelHeight;
    int Ascent;
    int TextHeight;  // ascent + descent: the height of every text box
    GlyphSource Glyphs[GlyphCount];
};

// In order of rising pixel height, one for each height from the first to the last.
extern const GlyphFaceSource GlyphFaceSources[];
extern const std::size_t GlyphFaceSourceCount;
