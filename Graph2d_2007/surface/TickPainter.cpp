// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickPainter.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

// Which pixels of a window of the plane later marks already own.
class CoverMask {
public:
    CoverMask(PixelRect area) : area_(area), owned_(std::size_t(area.Width()) * area.Height(), 0) {}

    PixelRect Area() const { return area_; }

    // The bounding box of the pixels of `box` no later mark owns.
    PixelRect FreeBox(PixelRect box) const
    {
        box = box.Intersected(area_);
        PixelRect free;
        for (int y = box.Top(); y <= box.Bottom(); ++y) {
            const std::uint8_t* row = Row(y) + (box.Left() - area_.Left());
            const auto* first = static_cast<const std::uint8_t*>(std::memchr(row, 0, std::size_t(box.Width())));
            if (!first)
                continue;
            int last = box.Width() - 1;
            while (row[last] != 0)
                --last;
            free = free.United(PixelRect(box.Left() + int(first - row), y, last - int(first - row) + 1, 1));
        }
        return free;
    }

    bool IsFree(int x, int y) const { return Row(y)[x - area_.Left()] == 0; }

    // Claims every pixel of `box` (within the area).
    void ClaimBox(PixelRect box)
    {
        box = box.Intersected(area_);
        for (int y = box.Top(); y <= box.Bottom(); ++y)
            std::memset(Row(y) + (box.Left() - area_.Left()), 1, std::size_t(box.Width()));
    }

    // Claims the pixel; true when it was free.
    bool Claim(std::int64_t x, std::int64_t y)
    {
        if (x < area_.Left() || x > area_.Right() || y < area_.Top() || y > area_.Bottom())
            return false;
        std::uint8_t& cell = Row(int(y))[x - area_.Left()];
        const bool wasFree = cell == 0;
        cell = 1;
        return wasFree;
    }

private:
    std::uint8_t* Row(int y) { return owned_.data() + std::size_t(y - area_.Top()) * area_.Width(); }
    const std::uint8_t* Row(int y) const
    {
        return owned_.data() + std::size_t(y - area_.Top()) * area_.Width();
    }

    PixelRect area_;
    std::vector<std::uint8_t> owned_;
};

void CopyPixel(const RgbImage& from, int fromX, int fromY, RgbImage& to, int x, int y)
{
    std::memcpy(to.Line(y) + 3 * x, from.Line(fromY) + 3 * fromX, 3);
}

void PutPixel(RgbImage& image, int x, int y, std::int32_t colour)
{
    image.SetPixel(x, y, colour);
}

// Lays marks back to front, each on the pixels no later mark owns. Without
// painting it only finds out which marks leave a pixel.
class BackToFront {
public:
    BackToFront(const TCanvas& canvas, RgbImage* plane, PixelRect area)
        : canvas_(canvas), plane_(plane), mask_(area),
          scratch_(plane ? canvas.TextWidth(std::string_view("-2147483648")) + 1 : 1,
                   plane ? std::max(canvas.TextHeight(), 1) : 1),
          scratchBuffer_{scratch_.Bits(), scratch_.Width(), scratch_.Height(), scratch_.BytesPerLine()}
    {
    }

    // True when the stroke leaves a pixel.
    bool Line(PixelPoint from, PixelPoint to)
    {
        // The same stroke as the one laid just before it is hidden by it.
        if (from == lastFrom_ && to == lastTo_)
            return false;
        lastFrom_ = from;
        lastTo_ = to;
        bool shown = false;
        const int width = std::max(canvas_.PenWidth(), 1);
        const std::int64_t length = std::max(std::abs(std::int64_t(to.X) - from.X),
                                             std::abs(std::int64_t(to.Y) - from.Y));
        for (std::int64_t k = 0; k < length; ++k) {
            const PixelPoint p = TCanvas::LinePixel(from, to, k);
            const std::int64_t left = p.X - std::int64_t((width - 1) / 2);
            const std::int64_t top = p.Y - std::int64_t((width - 1) / 2);
            for (std::int64_t y = top; y < top + width; ++y) {
                for (std::int64_t x = left; x < left + width; ++x) {
                    if (mask_.Claim(x, y)) {
                        shown = true;
                        if (plane_)
                            PutPixel(*plane_, int(x), int(y), canvas_.PenColor());
                    }
                }
            }
        }
        return shown;
    }

    // True when the number's box leaves a pixel.
    bool Label(PixelPoint at, std::int32_t number)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        const std::string_view text(digits, std::size_t(end - digits));
        const PixelRect box(at, PixelSize{canvas_.TextWidth(text), canvas_.TextHeight()});
        // Dense ticks share positions: a box inside the last one laid is hidden.
        const bool hidden = lastBox_.Contains(box);
        lastBox_ = box;
        if (hidden || box.IsEmpty())
            return false;
        const PixelRect visible = box.Intersected(mask_.Area());
        // Mostly a later number covers all but a column or two: only the
        // part still free is laid and copied.
        const PixelRect free = mask_.FreeBox(visible);
        if (free.IsEmpty())
            return false;
        if (plane_) {
            const PixelRect part = free.Translated(-box.Left(), -box.Top());
            FillScratch(part, canvas_.BrushColor());
            // The number as TextOut draws it, within the part still free.
            canvas_.Face().Draw(scratchBuffer_, 0, 0, text, canvas_.FontColor(),
                                GlyphClip{part.Left(), part.Top(), std::int64_t(part.Right()) + 1,
                                          std::int64_t(part.Bottom()) + 1});
            for (int y = free.Top(); y <= free.Bottom(); ++y) {
                for (int x = free.Left(); x <= free.Right(); ++x) {
                    if (mask_.IsFree(x, y))
                        CopyPixel(scratch_, x - box.Left(), y - box.Top(), *plane_, x, y);
                }
            }
        }
        mask_.ClaimBox(visible);
        return true;
    }

private:
    const TCanvas& canvas_;
    RgbImage* plane_;
    CoverMask mask_;
    void FillScratch(PixelRect part, std::int32_t colour)
    {
        part = part.Intersected(scratch_.Rect());
        for (int y = part.Top(); y <= part.Bottom(); ++y) {
            for (int x = part.Left(); x <= part.Right(); ++x)
                PutPixel(scratch_, x, y, colour);
        }
    }

    RgbImage scratch_;
    RgbBuffer scratchBuffer_;
    PixelRect lastBox_;
    PixelPoint lastFrom_{INT_MIN, INT_MIN};
    PixelPoint lastTo_{INT_MIN, INT_MIN};
};

// The part of the plane the marks can reach.
PixelRect MarkArea(const TCanvas& canvas, PixelSize plane, const std::vector<TickMark>& marks)
{
    const int reach = std::max(canvas.PenWidth(), 1);
    const int labelWidth = canvas.TextWidth(std::string_view("-2147483648"));
    std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    auto take = [&](std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1) {
        left = std::min(left, x0);
        top = std::min(top, y0);
        right = std::max(right, x1);
        bottom = std::max(bottom, y1);
    };
    for (const TickMark& m : marks) {
        take(std::min(m.LineFrom.X, m.LineTo.X) - std::int64_t(reach),
             std::min(m.LineFrom.Y, m.LineTo.Y) - std::int64_t(reach),
             std::max(m.LineFrom.X, m.LineTo.X) + std::int64_t(reach),
             std::max(m.LineFrom.Y, m.LineTo.Y) + std::int64_t(reach));
        take(m.LabelAt.X, m.LabelAt.Y, std::int64_t(m.LabelAt.X) + labelWidth,
             std::int64_t(m.LabelAt.Y) + canvas.TextHeight());
    }
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, plane.Width - 1);
    bottom = std::min<std::int64_t>(bottom, plane.Height - 1);
    if (left > right || top > bottom)
        return PixelRect();
    return PixelRect::FromCorners(PixelPoint{int(left), int(top)}, PixelPoint{int(right), int(bottom)});
}

}  // namespace

void PaintTickMarks(TCanvas& canvas, RgbImage& plane, const std::vector<TickMark>& marks)
{
    if (marks.empty())
        return;
    const PixelRect area = MarkArea(canvas, plane.Size(), marks);
    if (!area.IsEmpty()) {
        BackToFront painter(canvas, &plane, area);
        for (auto m = marks.rbegin(); m != marks.rend(); ++m) {
            painter.Label(m->LabelAt, m->Index);
            painter.Line(m->LineFrom, m->LineTo);
        }
        canvas.NoteChanged(area.Left(), area.Top(), std::int64_t(area.Right()) + 1,
                           std::int64_t(area.Bottom()) + 1);
    }
    canvas.MoveTo(marks.back().LineTo.X, marks.back().LineTo.Y);
}

std::vector<TickMarkShown> ShownTickMarks(const TCanvas& canvas, PixelSize plane, const std::vector<TickMark>& marks)
{
    std::vector<TickMarkShown> shown(marks.size());
    const PixelRect area = MarkArea(canvas, plane, marks);
    if (area.IsEmpty())
        return shown;
    BackToFront finder(canvas, nullptr, area);
    for (std::size_t i = marks.size(); i-- > 0;) {
        shown[i].Label = finder.Label(marks[i].LabelAt, marks[i].Index);
        shown[i].Line = finder.Line(marks[i].LineFrom, marks[i].LineTo);
    }
    return shown;
}
