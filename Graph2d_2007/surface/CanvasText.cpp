// SPDX-License-Identifier: GPL-3.0-or-later
// Text on the canvas: the box rule and the drawing of labels, from the glyph
// table (GlyphText.h); the toolkit's face only for vector output.
#include "Canvas.h"

#include <string>

#include "CanvasFont.h"

namespace {

// One byte a character, as the glyphs take it: a character outside
// printable ASCII (also one beyond 16 bits) is a single '?'.
std::string GlyphBytes(const QString& text)
{
    std::string bytes;
    bytes.reserve(std::size_t(text.size()));
    for (char32_t c : text.toUcs4())
        bytes += c < 0x80 ? GlyphFace::Shown(char(c)) : '?';
    return bytes;
}

}  // namespace

QFont TCanvas::Font() const
{
    return CanvasFont(fontHeight_);
}

int TCanvas::TextWidth(const QString& text) const
{
    return int(face_->TextWidth(GlyphBytes(text)));
}

int TCanvas::TextWidth(std::string_view ascii) const
{
    return int(face_->TextWidth(ascii));
}

int TCanvas::TextHeight() const
{
    return face_->TextHeight();
}

QRect TCanvas::TextBox(int x, int y, const QString& text) const
{
    return QRect(x, y, TextWidth(text), TextHeight());
}

void TCanvas::TextOut(int x, int y, const QString& text)
{
    if (image_.isNull())
        return;
    const std::string bytes = GlyphBytes(text);
    const std::int64_t right = std::int64_t(x) + face_->TextWidth(bytes);
    const std::int64_t bottom = std::int64_t(y) + face_->TextHeight();
    FillBox(x, y, right, bottom, brushColour_);
    NoteChanged(x, y, right, bottom);
    if (right <= 0 || bottom <= 0 || x >= image_.width() || y >= image_.height())
        return;
    const RgbBuffer target{image_.bits(), image_.width(), image_.height(), image_.bytesPerLine()};
    face_->Draw(target, x, y, bytes, fontColour_, GlyphClip{x, y, right, bottom});
}
