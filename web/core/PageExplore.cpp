// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageExplore.h"

#include <cmath>

#include "RealText.h"

namespace {

// The wheel's delta for one notch, as the desktop counts it: a fraction of
// a notch is taken in these parts.
constexpr int Notch = 120;
constexpr long double ZoomPerNotch = 1.25L;

std::array<std::string*, 4> BoundsOf(TracePress& press)
{
    return {&press.Texts.X1, &press.Texts.X2, &press.Texts.Y1, &press.Texts.Y2};
}

Json Reply(const Json& window, const char* refusal)
{
    return Json{{"window", window}, {"refusal", refusal}};
}

}  // namespace

PageExplore::PageExplore(PlotDocument& document, PageStop& stop) : document_(document), stop_(stop)
{
    document_.AddListener(this);
}

PageExplore::~PageExplore()
{
    document_.RemoveListener(this);
}

void PageExplore::PressesChanged(PressesChange change)
{
    // A "Kresli", a "Vymaž" or a lesson opened starts afresh; only drawing
    // the same presses in another window keeps the way back.
    if (change != PressesChange::WindowMoved)
        original_.reset();
}

WorldWindow PageExplore::ShownWorld() const
{
    const ShownWindow shown = document_.Shown().value_or(ShownWindow{});
    return WorldWindow{shown.X1, shown.X2, shown.Y1, shown.Y2};
}

bool PageExplore::AnyAxes() const
{
    for (const RecordedPress& press : document_.Presses()) {
        if (press.Press.ShowAxes)
            return true;
    }
    return false;
}

bool PageExplore::Works(const WorldWindow& candidate, const WorldWindow& current)
{
    const RgbImage& plane = document_.Surface().Plane();
    if (scratch_.Plane().Size() != plane.Size())
        scratch_.ResizePlane(plane.Width(), plane.Height());
    if (!MappingWorks(scratch_, candidate))
        return false;
    // Axes that could not be drawn in the window on the plane (a reversed
    // window) are no reason to stop: the zoom makes nothing worse.
    return !AnyAxes() || AxesFit(scratch_, candidate) || !AxesFit(scratch_, current);
}

Json PageExplore::Zoom(int x, int y, double notches, const Json& fields)
{
    const long angleDelta = std::lround(notches * Notch);
    const std::optional<ShownWindow> shown = document_.Shown();
    if (angleDelta == 0 || !shown)
        return Reply(nullptr, "");
    const WorldWindow current = ShownWorld();
    WorldPoint at;
    try {
        at = PixelCentre(shown->Mapping, PixelPoint{x, y});
    } catch (const FloatFault&) {
        return Reply(nullptr, "");  // the plane has no mapping
    }
    // Notch by notch, so a fast turn stops at the last window that works.
    WorldWindow reached = current;
    bool stopped = false;
    for (long remaining = angleDelta; remaining != 0 && !stopped;) {
        const long part = std::labs(remaining) >= Notch ? (remaining > 0 ? Notch : -Notch) : remaining;
        remaining -= part;
        const Extended factor = std::pow(Extended(ZoomPerNotch), Extended(double(part)) / Notch);
        try {
            const WorldWindow candidate =
                WrittenWindow(ZoomedWindow(reached, at, factor), document_.Surface().Plane().Size());
            if (candidate == reached || !Works(candidate, current))
                stopped = true;
            else
                reached = candidate;
        } catch (const FloatFault&) {
            stopped = true;  // a bound beyond the double range
        }
    }
    Json reply = reached != current ? Apply(reached, fields) : Reply(nullptr, "");
    if (stopped)
        reply["refusal"] = angleDelta > 0 ? ZoomInLimitText : ZoomOutLimitText;
    return reply;
}

Json PageExplore::Pan(int drag, PixelPoint from, PixelPoint to, const Json& fields)
{
    if (!document_.Shown())
        return Reply(nullptr, "");
    if (drag_ != drag) {
        drag_ = drag;
        dragStart_ = ShownWorld();
    }
    try {
        const PixelSize plane = document_.Surface().Plane().Size();
        const WorldWindow candidate = WrittenWindow(PannedWindow(dragStart_, plane, from, to), plane);
        if (candidate == ShownWorld())
            return Reply(nullptr, "");
        if (Works(candidate, dragStart_))
            return Apply(candidate, fields);
    } catch (const FloatFault&) {
        // beyond the double range: as a window that does not work
    }
    return Reply(nullptr, PanLimitText);
}

Json PageExplore::Apply(const WorldWindow& window, const Json& fields)
{
    PressHistory presses = document_.Presses();
    if (!original_) {
        Original original;
        for (RecordedPress& press : presses) {
            const auto bounds = BoundsOf(press.Press);
            original.PressBounds.push_back({*bounds[0], *bounds[1], *bounds[2], *bounds[3]});
        }
        original.Fields = fields;
        original_ = std::move(original);
    }
    // Shortest texts that read back as the very doubles.
    const Json texts = WindowJson(window);
    for (RecordedPress& press : presses) {
        const auto bounds = BoundsOf(press.Press);
        *bounds[0] = texts["x1"].get<std::string>();
        *bounds[1] = texts["x2"].get<std::string>();
        *bounds[2] = texts["y1"].get<std::string>();
        *bounds[3] = texts["y2"].get<std::string>();
    }
    DrawAgain(presses);
    return Reply(texts, "");
}

Json PageExplore::OriginalWindow()
{
    if (!original_)
        return Reply(nullptr, "");
    PressHistory presses = document_.Presses();
    const Original original = std::move(*original_);
    original_.reset();
    // Esc may have left fewer presses than there were.
    for (std::size_t i = 0; i < presses.size() && i < original.PressBounds.size(); ++i) {
        const auto bounds = BoundsOf(presses[i].Press);
        for (std::size_t k = 0; k < bounds.size(); ++k)
            *bounds[k] = original.PressBounds[i][k];
    }
    DrawAgain(presses);
    return Reply(original.Fields, "");
}

void PageExplore::DrawAgain(const PressHistory& presses)
{
    ReplayHost host(stop_);
    document_.DrawAnew(presses, host, PressesChange::WindowMoved);
}
