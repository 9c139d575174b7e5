// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing canvas of the plot plane: a small pen/brush/font state machine
// over a 24-bit picture (RgbImage), with every pixel rule our own so that
// drawings are exact and can be checked pixel by pixel.
//
// Rules:
// - Colours are ColorValue ints (red in the low byte).
// - LineTo walks from the pen position to the target with a Bresenham walk
//   (see LinePixel) and covers every pixel of it except the target itself; a
//   zero-length line draws nothing. Pixels outside the image are dropped one
//   by one, so lines may start and end anywhere in the 32-bit plane.
// - A pen wider than one pixel stamps a width x width square at each pixel of
//   the walk, from -(width-1)/2 to +width/2 around it. Widths below 1 count as 1.
// - Rectangle covers columns min(x1,x2) .. max(x1,x2)-1 and rows
//   min(y1,y2) .. max(y1,y2)-1: a band of the pen width along the inside of
//   that box in the pen colour, the rest in the brush colour.
// - TextOut fills the text box in the brush colour, then draws the text in the
//   font colour, clipped to that box. The box has its top-left corner at
//   (x, y), the width TextWidth(text) and the height TextHeight(). The glyphs
//   are those of the table in the source tree (GlyphText.h): DejaVu Sans with
//   the pixel height FontHeight(), unantialiased, as the toolkit draws it.
//   Each character stands at the sum of the advances of those before it; a
//   text is one byte a character, and a byte outside printable ASCII is drawn
//   as '?'.
// - Every operation that may change pixels tells the change listener (if one
//   is set) the rectangle it may have changed, clipped to the image; a
//   rectangle wholly off the image is not reported.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "GlyphText.h"
#include "PixelGeometry.h"
#include "RgbImage.h"

// What the canvas draws with besides the image: pens, brush, font, position.
struct CanvasState {
    std::int32_t PenColour = 0;
    int PenWidth = 1;
    std::int32_t BrushColour = 0;
    std::int32_t FontColour = 0;
    int FontHeight = 10;
    PixelPoint PenPos{0, 0};
};

class TCanvas {
public:
    explicit TCanvas(RgbImage& image);

    CanvasState State() const;
    void SetState(const CanvasState& state);

    void SetPenColor(std::int32_t colour);
    std::int32_t PenColor() const { return penColour_; }
    void SetPenWidth(int width);
    int PenWidth() const { return penWidth_; }
    void SetBrushColor(std::int32_t colour);
    std::int32_t BrushColor() const { return brushColour_; }
    void SetFontColor(std::int32_t colour);
    std::int32_t FontColor() const { return fontColour_; }
    void SetFontHeight(int pixels);
    int FontHeight() const { return fontHeight_; }

    void MoveTo(int x, int y);
    void LineTo(int x, int y);  // covers the start pixel, not the end pixel
    PixelPoint PenPos() const { return penPos_; }

    void Rectangle(int x1, int y1, int x2, int y2);  // pen outline + brush fill, right/bottom exclusive
    void TextOut(int x, int y, std::string_view text);  // top-left of text box, opaque box in brush colour

    // The text box rule, for callers that need to know what TextOut covers.
    int TextWidth(std::string_view text) const;
    int TextHeight() const;
    PixelRect TextBox(int x, int y, std::string_view text) const;
    // The glyphs TextOut draws with, for code that lays texts itself.
    const GlyphFace& Face() const { return *face_; }

    // Pixel k (0 <= k < length) of the walk from `from` to `to`, length being
    // the larger of |dx| and |dy|: the major coordinate moves k steps, the minor
    // one round(k * dminor / dmajor) steps, halves rounded away from `from`.
    static PixelPoint LinePixel(PixelPoint from, PixelPoint to, std::int64_t k);

    // Told of each changed rectangle; see the rules above.
    using ChangeListener = std::function<void(const PixelRect&)>;
    void SetChangeListener(ChangeListener listener) { changeListener_ = std::move(listener); }
    // For code that writes the image's pixels itself (clipped like the rest).
    void NoteChanged(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom);

private:
    void PutPixel(int x, int y, std::int32_t colour);
    void FillBox(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                 std::int32_t colour);
    void StampPen(std::int64_t x, std::int64_t y);

    RgbImage& image_;
    std::int32_t penColour_ = 0;
    int penWidth_ = 1;
    std::int32_t brushColour_ = 0;
    std::int32_t fontColour_ = 0;
    int fontHeight_ = 10;
    PixelPoint penPos_{0, 0};
    const GlyphFace* face_ = &GlyphFace::ForHeight(fontHeight_);
    ChangeListener changeListener_;
};
