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
    CoverMask(QRect area) : area_(area), owned_(std::size_t(area.width()) * area.height(), 0) {}

    QRect Area() const { return area_; }

    // The bounding box of the pixels of `box` no later mark owns.
    QRect FreeBox(QRect box) const
    {
        box = box.intersected(area_);
        QRect free;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            const std::uint8_t* row = Row(y) + (box.left() - area_.left());
            const auto* first = static_cast<const std::uint8_t*>(std::memchr(row, 0, std::size_t(box.width())));
            if (!first)
                continue;
            int last = box.width() - 1;
            while (row[last] != 0)
                --last;
            free |= QRect(box.left() + int(first - row), y, last - int(first - row) + 1, 1);
        }
        return free;
    }

    bool IsFree(int x, int y) const { return Row(y)[x - area_.left()] == 0; }

    // Claims every pixel of `box` (within the area).
    void ClaimBox(QRect box)
    {
        box = box.intersected(area_);
        for (int y = box.top(); y <= box.bottom(); ++y)
            std::memset(Row(y) + (box.left() - area_.left()), 1, std::size_t(box.width()));
    }

    // Claims the pixel; true when it was free.
    bool Claim(std::int64_t x, std::int64_t y)
    {
        if (x < area_.left() || x > area_.right() || y < area_.top() || y > area_.bottom())
            return false;
        std::uint8_t& cell = Row(int(y))[x - area_.left()];
        const bool wasFree = cell == 0;
        cell = 1;
        return wasFree;
    }

private:
    std::uint8_t* Row(int y) { return owned_.data() + std::size_t(y - area_.top()) * area_.width(); }
    const std::uint8_t* Row(int y) const
    {
        return owned_.data() + std::size_t(y - area_.top()) * area_.width();
    }

    QRect area_;
    std::vector<std::uint8_t> owned_;
};

void CopyPixel(const QImage& from, int fromX, int fromY, QImage& to, int x, int y)
{
    std::memcpy(to.scanLine(y) + 3 * x, from.constScanLine(fromY) + 3 * fromX, 3);
}

void PutPixel(QImage& image, int x, int y, std::int32_t colour)
{
    uchar* p = image.scanLine(y) + 3 * x;
    p[0] = uchar(colour & 0xFF);
    p[1] = uchar((colour >> 8) & 0xFF);
    p[2] = uchar((colour >> 16) & 0xFF);
}

// Lays marks back to front, each on the pixels no later mark owns. Without
// painting it only finds out which marks leave a pixel.
class BackToFront {
public:
    BackToFront(const TCanvas& canvas, QImage* plane, QRect area)
        : canvas_(canvas), plane_(plane), mask_(area),
          scratch_(plane ? canvas.TextWidth(std::string_view("-2147483648")) + 1 : 1,
                   plane ? std::max(canvas.TextHeight(), 1) : 1, QImage::Format_RGB888),
          scratchBuffer_{scratch_.bits(), scratch_.width(), scratch_.height(), scratch_.bytesPerLine()}
    {
    }

    // True when the stroke leaves a pixel.
    bool Line(QPoint from, QPoint to)
    {
        // The same stroke as the one laid just before it is hidden by it.
        if (from == lastFrom_ && to == lastTo_)
            return false;
        lastFrom_ = from;
        lastTo_ = to;
        bool shown = false;
        const int width = std::max(canvas_.PenWidth(), 1);
        const std::int64_t length = std::max(std::abs(std::int64_t(to.x()) - from.x()),
                                             std::abs(std::int64_t(to.y()) - from.y()));
        for (std::int64_t k = 0; k < length; ++k) {
            const QPoint p = TCanvas::LinePixel(from, to, k);
            const std::int64_t left = p.x() - std::int64_t((width - 1) / 2);
            const std::int64_t top = p.y() - std::int64_t((width - 1) / 2);
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
    bool Label(QPoint at, std::int32_t number)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
        const std::string_view text(digits, std::size_t(end - digits));
        const QRect box(at, QSize(canvas_.TextWidth(text), canvas_.TextHeight()));
        // Dense ticks share positions: a box inside the last one laid is hidden.
        const bool hidden = lastBox_.contains(box);
        lastBox_ = box;
        if (hidden || box.isEmpty())
            return false;
        const QRect visible = box.intersected(mask_.Area());
        // Mostly a later number covers all but a column or two: only the
        // part still free is laid and copied.
        const QRect free = mask_.FreeBox(visible);
        if (free.isEmpty())
            return false;
        if (plane_) {
            const QRect part = free.translated(-box.topLeft());
            FillScratch(part, canvas_.BrushColor());
            // The number as TextOut draws it, within the part still free.
            canvas_.Face().Draw(scratchBuffer_, 0, 0, text, canvas_.FontColor(),
                                GlyphClip{part.left(), part.top(), std::int64_t(part.right()) + 1,
                                          std::int64_t(part.bottom()) + 1});
            for (int y = free.top(); y <= free.bottom(); ++y) {
                for (int x = free.left(); x <= free.right(); ++x) {
                    if (mask_.IsFree(x, y))
                        CopyPixel(scratch_, x - box.left(), y - box.top(), *plane_, x, y);
                }
            }
        }
        mask_.ClaimBox(visible);
        return true;
    }

private:
    const TCanvas& canvas_;
    QImage* plane_;
    CoverMask mask_;
    void FillScratch(QRect part, std::int32_t colour)
    {
        part &= scratch_.rect();
        for (int y = part.top(); y <= part.bottom(); ++y) {
            for (int x = part.left(); x <= part.right(); ++x)
                PutPixel(scratch_, x, y, colour);
        }
    }

    QImage scratch_;
    RgbBuffer scratchBuffer_;
    QRect lastBox_;
    QPoint lastFrom_{INT_MIN, INT_MIN};
    QPoint lastTo_{INT_MIN, INT_MIN};
};

// The part of the plane the marks can reach.
QRect MarkArea(const TCanvas& canvas, QSize plane, const std::vector<TickMark>& marks)
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
        take(std::min(m.LineFrom.x(), m.LineTo.x()) - std::int64_t(reach),
             std::min(m.LineFrom.y(), m.LineTo.y()) - std::int64_t(reach),
             std::max(m.LineFrom.x(), m.LineTo.x()) + std::int64_t(reach),
             std::max(m.LineFrom.y(), m.LineTo.y()) + std::int64_t(reach));
        take(m.LabelAt.x(), m.LabelAt.y(), std::int64_t(m.LabelAt.x()) + labelWidth,
             std::int64_t(m.LabelAt.y()) + canvas.TextHeight());
    }
    left = std::max<std::int64_t>(left, 0);
    top = std::max<std::int64_t>(top, 0);
    right = std::min<std::int64_t>(right, plane.width() - 1);
    bottom = std::min<std::int64_t>(bottom, plane.height() - 1);
    if (left > right || top > bottom)
        return QRect();
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)));
}

}  // namespace

void PaintTickMarks(TCanvas& canvas, QImage& plane, const std::vector<TickMark>& marks)
{
    if (marks.empty())
        return;
    const QRect area = MarkArea(canvas, plane.size(), marks);
    if (!area.isEmpty()) {
        BackToFront painter(canvas, &plane, area);
        for (auto m = marks.rbegin(); m != marks.rend(); ++m) {
            painter.Label(m->LabelAt, m->Index);
            painter.Line(m->LineFrom, m->LineTo);
        }
        canvas.NoteChanged(area.left(), area.top(), std::int64_t(area.right()) + 1,
                           std::int64_t(area.bottom()) + 1);
    }
    canvas.MoveTo(marks.back().LineTo.x(), marks.back().LineTo.y());
}

std::vector<TickMarkShown> ShownTickMarks(const TCanvas& canvas, QSize plane, const std::vector<TickMark>& marks)
{
    std::vector<TickMarkShown> shown(marks.size());
    const QRect area = MarkArea(canvas, plane, marks);
    if (area.isEmpty())
        return shown;
    BackToFront finder(canvas, nullptr, area);
    for (std::size_t i = marks.size(); i-- > 0;) {
        shown[i].Label = finder.Label(marks[i].LabelAt, marks[i].Index);
        shown[i].Line = finder.Line(marks[i].LineFrom, marks[i].LineTo);
    }
    return shown;
}
