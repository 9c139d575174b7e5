// SPDX-License-Identifier: GPL-3.0-or-later
#include "Canvas.h"

#include <algorithm>
#include <cstring>

namespace {

std::int64_t Abs64(std::int64_t v) { return v < 0 ? -v : v; }

}  // namespace

TCanvas::TCanvas(RgbImage& image) : image_(image) {}

CanvasState TCanvas::State() const
{
    return CanvasState{penColour_, penWidth_, brushColour_, fontColour_, fontHeight_, penPos_};
}

void TCanvas::SetState(const CanvasState& state)
{
    SetPenColor(state.PenColour);
    SetPenWidth(state.PenWidth);
    SetBrushColor(state.BrushColour);
    SetFontColor(state.FontColour);
    SetFontHeight(state.FontHeight);
    MoveTo(state.PenPos.X, state.PenPos.Y);
}

void TCanvas::SetPenColor(std::int32_t colour) { penColour_ = colour; }
void TCanvas::SetPenWidth(int width) { penWidth_ = width; }
void TCanvas::SetBrushColor(std::int32_t colour) { brushColour_ = colour; }
void TCanvas::SetFontColor(std::int32_t colour) { fontColour_ = colour; }

void TCanvas::SetFontHeight(int pixels)
{
    // As the toolkit's face was, the glyphs are at least a pixel high.
    face_ = &GlyphFace::ForHeight(std::max(pixels, 1));
    fontHeight_ = pixels;
}

void TCanvas::MoveTo(int x, int y) { penPos_ = PixelPoint{x, y}; }

PixelPoint TCanvas::LinePixel(PixelPoint from, PixelPoint to, std::int64_t k)
{
    const std::int64_t dx = std::int64_t(to.X) - from.X;
    const std::int64_t dy = std::int64_t(to.Y) - from.Y;
    const std::int64_t adx = Abs64(dx), ady = Abs64(dy);
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    // Products reach 2^65 for walks across the whole 32-bit plane.
    if (adx >= ady) {
        const std::int64_t minor = ady == 0 ? 0
            : std::int64_t((__int128(2) * k * ady + adx) / (__int128(2) * adx));
        return PixelPoint{int(from.X + sx * k), int(from.Y + sy * minor)};
    }
    const std::int64_t minor = adx == 0 ? 0
        : std::int64_t((__int128(2) * k * adx + ady) / (__int128(2) * ady));
    return PixelPoint{int(from.X + sx * minor), int(from.Y + sy * k)};
}

void TCanvas::LineTo(int x, int y)
{
    const PixelPoint from = penPos_, to{x, y};
    penPos_ = to;
    if (image_.IsNull())
        return;
    const std::int64_t dx = std::int64_t(to.X) - from.X;
    const std::int64_t dy = std::int64_t(to.Y) - from.Y;
    const bool xMajor = Abs64(dx) >= Abs64(dy);
    const std::int64_t length = std::max(Abs64(dx), Abs64(dy));

    // Only the steps whose major coordinate lies near the image can leave a
    // pixel on it; a long line off to one side costs nothing.
    const std::int64_t margin = std::max(penWidth_, 1);
    const std::int64_t start = xMajor ? from.X : from.Y;
    const std::int64_t limit = xMajor ? image_.Width() : image_.Height();
    const std::int64_t dir = (xMajor ? dx : dy) < 0 ? -1 : 1;
    std::int64_t kFirst, kLast;  // inclusive
    if (dir > 0) {
        kFirst = -margin - start;
        kLast = limit + margin - start;
    } else {
        kFirst = start - (limit + margin);
        kLast = start + margin;
    }
    kFirst = std::max<std::int64_t>(kFirst, 0);
    kLast = std::min<std::int64_t>(kLast, length - 1);
    for (std::int64_t k = kFirst; k <= kLast; ++k) {
        const PixelPoint p = LinePixel(from, to, k);
        StampPen(p.X, p.Y);
    }
    if (kFirst <= kLast) {
        // The walk is monotonic in both coordinates: its ends bound it.
        const PixelPoint a = LinePixel(from, to, kFirst), b = LinePixel(from, to, kLast);
        const std::int64_t before = (margin - 1) / 2, after = margin / 2;
        NoteChanged(std::int64_t(std::min(a.X, b.X)) - before, std::int64_t(std::min(a.Y, b.Y)) - before,
                    std::int64_t(std::max(a.X, b.X)) + after + 1,
                    std::int64_t(std::max(a.Y, b.Y)) + after + 1);
    }
}

void TCanvas::NoteChanged(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
{
    // right and bottom are exclusive, as in FillBox.
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, image_.Width());
    bottom = std::min<std::int64_t>(bottom, image_.Height());
    if (!changeListener_ || left >= right || top >= bottom)
        return;
    changeListener_(PixelRect(int(left), int(top), int(right - left), int(bottom - top)));
}

void TCanvas::StampPen(std::int64_t x, std::int64_t y)
{
    const int width = std::max(penWidth_, 1);
    if (width == 1) {
        if (x >= 0 && y >= 0 && x < image_.Width() && y < image_.Height())
            PutPixel(int(x), int(y), penColour_);
        return;
    }
    const std::int64_t left = x - (width - 1) / 2, top = y - (width - 1) / 2;
    FillBox(left, top, left + width, top + width, penColour_);
}

void TCanvas::PutPixel(int x, int y, std::int32_t colour)
{
    image_.SetPixel(x, y, colour);
}

void TCanvas::FillBox(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom,
                      std::int32_t colour)
{
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, image_.Width());
    bottom = std::min<std::int64_t>(bottom, image_.Height());
    if (left >= right || top >= bottom)
        return;
    const std::uint8_t rgb[3] = {std::uint8_t(colour & 0xFF), std::uint8_t((colour >> 8) & 0xFF),
                                 std::uint8_t((colour >> 16) & 0xFF)};
    std::uint8_t* first = image_.Line(int(top)) + 3 * left;
    for (std::int64_t x = 0; x < right - left; ++x)
        std::memcpy(first + 3 * x, rgb, 3);
    const std::size_t rowBytes = std::size_t(3 * (right - left));
    for (std::int64_t y = top + 1; y < bottom; ++y)
        std::memcpy(image_.Line(int(y)) + 3 * left, first, rowBytes);
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    const std::int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const std::int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
    if (image_.IsNull() || left >= right || top >= bottom)
        return;
    const std::int64_t band = std::max(penWidth_, 1);
    FillBox(left, top, right, bottom, penColour_);
    if (right - left > 2 * band && bottom - top > 2 * band)
        FillBox(left + band, top + band, right - band, bottom - band, brushColour_);
    NoteChanged(left, top, right, bottom);
}
