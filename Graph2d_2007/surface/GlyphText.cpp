// SPDX-License-Identifier: GPL-3.0-or-later
#include "GlyphText.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "GlyphTable.h"

GlyphFace::GlyphFace(const GlyphFaceSource& source)
    : pixelHeight_(source.PixelHeight), ascent_(source.Ascent), textHeight_(source.TextHeight)
{
    static_assert(CharacterCount == GlyphCount);
    // The table's rows of hexadecimal digits become runs of ink, which draw
    // a row clipped at once.
    for (int i = 0; i < CharacterCount; ++i) {
        const GlyphSource& from = source.Glyphs[i];
        assert(from.Character == char(' ' + i));
        Glyph& glyph = glyphs_[i];
        glyph.Advance = from.Advance;
        glyph.FirstRun = std::uint32_t(runs_.size());
        glyph.InkLeft = from.InkLeft + from.InkWidth;
        glyph.InkRight = from.InkLeft;
        const std::size_t length = std::strlen(from.Ink);
        const std::size_t digitsPerRow = std::size_t(from.InkWidth + 3) / 4;
        assert(length == 0 || (from.InkWidth > 0 && length % digitsPerRow == 0));
        for (std::size_t row = 0; length > 0 && row < length / digitsPerRow; ++row) {
            const char* digits = from.Ink + row * digitsPerRow;
            const auto inked = [&](int column) {
                const char d = digits[column / 4];
                const int value = d <= '9' ? d - '0' : d - 'a' + 10;
                return ((value >> (3 - column % 4)) & 1) != 0;
            };
            for (int at = 0; at < from.InkWidth;) {
                if (!inked(at)) {
                    ++at;
                    continue;
                }
                int end = at;
                while (end < from.InkWidth && inked(end))
                    ++end;
                const int left = from.InkLeft + at;
                const int right = left + (end - at);
                runs_.push_back(InkRun{std::int16_t(from.InkTop + int(row)), std::int16_t(left), std::int16_t(right)});
                glyph.InkLeft = std::min(glyph.InkLeft, left);
                glyph.InkRight = std::max(glyph.InkRight, right);
                at = end;
            }
        }
        glyph.EndRun = std::uint32_t(runs_.size());
        if (glyph.FirstRun == glyph.EndRun)
            glyph.InkLeft = glyph.InkRight = 0;
    }
}

const std::vector<GlyphFace>& GlyphFace::Faces()
{
    static const std::vector<GlyphFace> faces = [] {
        std::vector<GlyphFace> made;
        made.reserve(GlyphFaceSourceCount);
        for (std::size_t i = 0; i < GlyphFaceSourceCount; ++i) {
            made.push_back(GlyphFace(GlyphFaceSources[i]));
            assert(i == 0 || made[i].pixelHeight_ == made[i - 1].pixelHeight_ + 1);
        }
        return made;
    }();
    return faces;
}

int GlyphFace::SmallestHeight()
{
    return Faces().front().pixelHeight_;
}

int GlyphFace::LargestHeight()
{
    return Faces().back().pixelHeight_;
}

const GlyphFace& GlyphFace::ForHeight(int pixels)
{
    const std::vector<GlyphFace>& faces = Faces();
    const int smallest = faces.front().pixelHeight_;
    const int nearest = std::clamp(pixels, smallest, faces.back().pixelHeight_);
    return faces[std::size_t(nearest - smallest)];
}

std::int64_t GlyphFace::TextWidth(std::string_view text) const
{
    std::int64_t width = 0;
    for (char c : text)
        width += Advance(c);
    return width;
}

void GlyphFace::Draw(const RgbBuffer& target, std::int64_t x, std::int64_t y, std::string_view text,
                     std::int32_t colour, GlyphClip clip) const
{
    clip.Left = std::max<std::int64_t>(clip.Left, 0);
    clip.Top = std::max<std::int64_t>(clip.Top, 0);
    clip.Right = std::min<std::int64_t>(clip.Right, target.Width);
    clip.Bottom = std::min<std::int64_t>(clip.Bottom, target.Height);
    if (!target.Bits || clip.Left >= clip.Right || clip.Top >= clip.Bottom)
        return;
    const std::uint8_t rgb[3] = {std::uint8_t(colour & 0xFF), std::uint8_t((colour >> 8) & 0xFF),
                                 std::uint8_t((colour >> 16) & 0xFF)};
    std::int64_t pen = x;
    for (char c : text) {
        const Glyph& glyph = glyphs_[Slot(c)];
        if (pen + glyph.InkRight > clip.Left && pen + glyph.InkLeft < clip.Right) {
            for (std::uint32_t r = glyph.FirstRun; r < glyph.EndRun; ++r) {
                const InkRun& run = runs_[r];
                const std::int64_t row = y + run.Row;
                if (row < clip.Top || row >= clip.Bottom)
                    continue;
                const std::int64_t left = std::max(pen + run.Left, clip.Left);
                const std::int64_t right = std::min(pen + run.Right, clip.Right);
                std::uint8_t* pixel = target.Bits + row * target.BytesPerLine + 3 * left;
                for (std::int64_t column = left; column < right; ++column, pixel += 3)
                    std::memcpy(pixel, rgb, 3);
            }
        }
        pen += glyph.Advance;
    }
}
