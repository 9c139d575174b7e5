// SPDX-License-Identifier: GPL-3.0-or-later
// Text on the canvas: the box rule and the drawing of labels, from the glyph
// table (GlyphText.h).
#include "Canvas.h"

int TCanvas::TextWidth(std::string_view text) const
{
    return int(face_->TextWidth(text));
}

int TCanvas::TextHeight() const
{
    return face_->TextHeight();
}

PixelRect TCanvas::TextBox(int x, int y, std::string_view text) const
{
    return PixelRect(x, y, TextWidth(text), TextHeight());
}

void TCanvas::TextOut(int x, int y, std::string_view text)
{
    if (image_.IsNull())
        return;
    const std::int64_t right = std::int64_t(x) + face_->TextWidth(text);
    const std::int64_t bottom = std::int64_t(y) + face_->TextHeight();
    FillBox(x, y, right, bottom, brushColour_);
    NoteChanged(x, y, right, bottom);
    if (right <= 0 || bottom <= 0 || x >= image_.Width() || y >= image_.Height())
        return;
    const RgbBuffer target{image_.Bits(), image_.Width(), image_.Height(), image_.BytesPerLine()};
    face_->Draw(target, x, y, text, fontColour_, GlyphClip{x, y, right, bottom});
}
