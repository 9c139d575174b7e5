// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickSelection.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace {

bool SelectionOn = true;

bool SameGeometry(const TickMark& a, const TickMark& b)
{
    return a.LineFrom == b.LineFrom && a.LineTo == b.LineTo && a.LabelAt == b.LabelAt;
}

bool TabularDigits(const TCanvas& canvas)
{
    const int width = canvas.TextWidth(std::string_view("0"));
    for (char digit = '1'; digit <= '9'; ++digit) {
        if (canvas.TextWidth(std::string_view(&digit, 1)) != width)
            return false;
    }
    return true;
}

int LabelWidth(const TCanvas& canvas, std::int32_t index)
{
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, index).ptr;
    return canvas.TextWidth(std::string_view(digits, std::size_t(end - digits)));
}

// The lowest index with as many characters as `index` ("-" counted).
std::int64_t RunStart(std::int64_t index)
{
    std::int64_t power = 1;  // 10^(digits - 1)
    for (std::int64_t magnitude = index < 0 ? -index : index; magnitude >= 10; magnitude /= 10)
        power *= 10;
    if (index >= 0)
        return power == 1 ? 0 : power;
    return -(power * 10 - 1);
}

// Whether a mark of this geometry may leave a pixel on the plane, whatever
// its number: its line with the pen's reach, or the widest number's box.
bool MayReachPlane(const TCanvas& canvas, PixelSize plane, const TickMark& mark)
{
    const std::int64_t reach = std::max(canvas.PenWidth(), 1);
    const auto overlaps = [&](std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
        return right >= 0 && bottom >= 0 && left < plane.Width && top < plane.Height && left <= right &&
               top <= bottom;
    };
    const bool line = overlaps(std::min(mark.LineFrom.X, mark.LineTo.X) - reach,
                               std::min(mark.LineFrom.Y, mark.LineTo.Y) - reach,
                               std::max(mark.LineFrom.X, mark.LineTo.X) + reach,
                               std::max(mark.LineFrom.Y, mark.LineTo.Y) + reach);
    const std::int64_t widest = canvas.TextWidth(std::string_view("-2147483648"));
    const bool label = overlaps(mark.LabelAt.X, mark.LabelAt.Y, std::int64_t(mark.LabelAt.X) + widest,
                                std::int64_t(mark.LabelAt.Y) + canvas.TextHeight());
    return line || label;
}

class Selector {
public:
    Selector(const TCanvas& canvas, PixelSize plane, const TickMarkOf& markOf)
        : canvas_(canvas), plane_(plane), markOf_(markOf)
    {
    }

    std::optional<TickMark> TryMark(std::int64_t index, TickSelection& selection)
    {
        try {
            return markOf_(std::int32_t(index));
        } catch (const FloatFault& fault) {
            if (!selection.Fault)
                selection.Fault = fault.Kind();
            return std::nullopt;
        }
    }

    // The last index of the run of ticks from `first` (placed up to `last`)
    // that share its geometry: doubling steps, then halving.
    std::int64_t RunEnd(std::int64_t first, const TickMark& mark, std::int64_t last)
    {
        std::int64_t same = first;
        std::int64_t step = 1;
        std::int64_t differs = last + 1;
        while (same + step <= last) {
            if (!SameGeometry(markOf_(std::int32_t(same + step)), mark)) {
                differs = same + step;
                break;
            }
            same += step;
            step *= 2;
        }
        while (differs - same > 1) {
            const std::int64_t middle = same + (differs - same) / 2;
            if (SameGeometry(markOf_(std::int32_t(middle)), mark))
                same = middle;
            else
                differs = middle;
        }
        return same;
    }

    // From the end of the run down: the last tick of each count of
    // characters, where its number is wider than every later one's.
    void AddShown(std::int64_t first, std::int64_t last, const TickMark& mark, std::vector<TickMark>& marks)
    {
        if (!MayReachPlane(canvas_, plane_, mark))
            return;
        int widest = -1;
        for (std::int64_t index = last; index >= first; index = RunStart(index) - 1) {
            const int width = LabelWidth(canvas_, std::int32_t(index));
            if (width > widest) {
                TickMark shown = mark;
                shown.Index = std::int32_t(index);
                marks.push_back(shown);
                widest = width;
            }
        }
    }

private:
    const TCanvas& canvas_;
    PixelSize plane_;
    const TickMarkOf& markOf_;
};

// Every tick in order up to the first that faults.
TickSelection AllTicks(TickRange ticks, const TickMarkOf& markOf)
{
    TickSelection selection;
    selection.Marks.reserve(std::size_t(ticks.Count()));
    try {
        for (std::int64_t i = ticks.First; i <= ticks.Last; ++i)
            selection.Marks.push_back(markOf(std::int32_t(i)));
    } catch (const FloatFault& fault) {
        selection.Fault = fault.Kind();
    }
    selection.Placed = std::int64_t(selection.Marks.size());
    return selection;
}

}  // namespace

void SetTickSelection(bool on)
{
    SelectionOn = on;
}

TickSelection SelectTickMarks(const TCanvas& canvas, PixelSize plane, TickRange ticks, const TickMarkOf& markOf)
{
    if (!SelectionOn || !TabularDigits(canvas))
        return AllTicks(ticks, markOf);

    TickSelection selection;
    Selector selector(canvas, plane, markOf);
    const std::optional<TickMark> firstMark = selector.TryMark(ticks.First, selection);
    if (!firstMark)
        return selection;
    // Positions are monotonic, so a fault can only end the range: the
    // placed ticks are those up to the last that places.
    std::int64_t last = ticks.Last;
    if (!selector.TryMark(last, selection)) {
        std::int64_t places = ticks.First, faults = last;
        while (faults - places > 1) {
            const std::int64_t middle = places + (faults - places) / 2;
            if (selector.TryMark(middle, selection))
                places = middle;
            else
                faults = middle;
        }
        last = places;
        selection.Fault.reset();
        selector.TryMark(last + 1, selection);  // the first that faults says how
    }
    selection.Placed = last - ticks.First + 1;

    std::vector<TickMark>& marks = selection.Marks;
    marks.push_back(*firstMark);
    for (std::int64_t first = ticks.First; first <= last;) {
        const TickMark mark = markOf(std::int32_t(first));
        const std::int64_t end = selector.RunEnd(first, mark, last);
        selector.AddShown(first, end, mark, marks);
        first = end + 1;
    }
    TickMark lastMark = markOf(std::int32_t(last));
    marks.push_back(lastMark);
    std::sort(marks.begin(), marks.end(), [](const TickMark& a, const TickMark& b) { return a.Index < b.Index; });
    marks.erase(std::unique(marks.begin(), marks.end(),
                            [](const TickMark& a, const TickMark& b) { return a.Index == b.Index; }),
                marks.end());
    return selection;
}
