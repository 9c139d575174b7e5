// SPDX-License-Identifier: GPL-3.0-or-later
// The plane's texts drawn from the glyph table kept in the source tree
// (GlyphTable.cpp), so that a label has the same pixels on every machine,
// with or without the toolkit: plain C++ over a plain 24-bit buffer.
//
// Rules, those of the canvas's TextOut:
// - A text's box has its top-left corner at the given point, the height
//   TextHeight() and the width TextWidth(text); each character stands at the
//   sum of the advances of those before it (no kerning).
// - A character's ink is a fixed set of pixels around its place. It may
//   overhang its advance and the box; Draw inks exactly those pixels of each
//   character that lie within the clip and the buffer, nothing else.
// - A text is one byte a character. Bytes outside printable ASCII
//   (0x20 to 0x7E) are drawn and measured as '?', the toolkit's own sign for
//   what a face cannot show, so such a text keeps a visible, fixed width.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct GlyphFaceSource;

// A 24-bit image in memory, three bytes a pixel in the order red, green,
// blue; rows BytesPerLine apart.
struct RgbBuffer {
    std::uint8_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t BytesPerLine = 0;
};

// Columns Left .. Right - 1 and rows Top .. Bottom - 1, in 64 bits so boxes
// far off the buffer neither wrap nor need clamping by the caller.
struct GlyphClip {
    std::int64_t Left = 0;
    std::int64_t Top = 0;
    std::int64_t Right = 0;
    std::int64_t Bottom = 0;
};

class GlyphFace {
public:
    // The face of that pixel height. The table holds every height from
    // SmallestHeight() to LargestHeight(); any other takes the nearest height
    // in it. The labels are drawn 10 pixels high, and glyphs scaled from
    // another height would not be the toolkit's pixels either, so none are
    // made up.
    static const GlyphFace& ForHeight(int pixels);
    static int SmallestHeight();
    static int LargestHeight();

    int PixelHeight() const { return pixelHeight_; }
    int Ascent() const { return ascent_; }
    int TextHeight() const { return textHeight_; }
    int Advance(char c) const { return glyphs_[Slot(c)].Advance; }
    std::int64_t TextWidth(std::string_view text) const;

    // Inks `text`, its box's top-left corner at (x, y), in `colour` (a
    // ColorValue: red in the low byte) on the pixels of `clip` within the
    // buffer. The box is not filled: that is the caller's. Any 32-bit
    // position may be given, also one far off the buffer.
    void Draw(const RgbBuffer& target, std::int64_t x, std::int64_t y, std::string_view text,
              std::int32_t colour, GlyphClip clip) const;

    // The character a byte is drawn as.
    static char Shown(char c) { return c >= ' ' && c <= '~' ? c : '?'; }

private:
    static constexpr int CharacterCount = '~' - ' ' + 1;
    // One row of a character's ink: columns Left .. Right - 1 from the pen,
    // `Row` rows below the top of the box.
    struct InkRun {
        std::int16_t Row;
        std::int16_t Left;
        std::int16_t Right;
    };
    struct Glyph {
        int Advance = 0;
        int InkLeft = 0;  // the columns of its ink from the pen, right exclusive
        int InkRight = 0;
        std::uint32_t FirstRun = 0;  // its runs in runs_
        std::uint32_t EndRun = 0;
    };
    static std::size_t Slot(char c) { return std::size_t(Shown(c) - ' '); }
    static const std::vector<GlyphFace>& Faces();
    explicit GlyphFace(const GlyphFaceSource& source);

    int pixelHeight_ = 0;
    int ascent_ = 0;
    int textHeight_ = 0;
    Glyph glyphs_[CharacterCount];
    std::vector<InkRun> runs_;
};
