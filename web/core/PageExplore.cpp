// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageExplore.h"

#include <algorithm>
#include <cmath>

#include "RealText.h"

namespace {

Json Reply(const Json& window, const char* refusal)
{
    return Json{{"window", window}, {"refusal", refusal}};
}

}  // namespace

PageExplore::PageExplore(PlotDocument& document, PageStop& stop) : document_(document), stop_(stop), moves_(document)
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

Json PageExplore::Zoom(int x, int y, double notches, const Json& fields)
{
    // A fraction of a notch is taken in the parts the desktop's wheel counts.
    // A million notches go far past where any zoom stops, and keep the
    // rounding within a long.
    const long angleDelta = std::lround(std::clamp(notches, -1e6, 1e6) * WheelNotch);
    const WindowMove move = moves_.Zoom(PixelPoint{x, y}, angleDelta);
    Json reply = move.To ? Apply(*move.To, fields) : Reply(nullptr, "");
    if (move.Limited)
        reply["refusal"] = angleDelta > 0 ? ZoomInLimitText : ZoomOutLimitText;
    return reply;
}

Json PageExplore::Pan(int drag, PixelPoint from, PixelPoint to, const Json& fields)
{
    if (!document_.Shown())
        return Reply(nullptr, "");
    if (drag_ != drag) {
        drag_ = drag;
        dragStart_ = moves_.Shown();
    }
    const WindowMove move = moves_.Pan(dragStart_, from, to);
    if (move.To)
        return Apply(*move.To, fields);
    return Reply(nullptr, move.Limited ? PanLimitText : "");
}

Json PageExplore::Apply(const WorldWindow& window, const Json& fields)
{
    PressHistory presses = document_.Presses();
    if (!original_)
        original_ = Original{BoundsOfPresses(presses), fields};
    SetBoundsOfPresses(presses, WindowTexts(window));
    DrawAgain(presses);
    return Reply(WindowJson(window), "");
}

Json PageExplore::OriginalWindow()
{
    if (!original_)
        return Reply(nullptr, "");
    PressHistory presses = document_.Presses();
    const Original original = std::move(*original_);
    original_.reset();
    // Esc may have left fewer presses than there were.
    SetBoundsOfPresses(presses, original.PressBounds);
    DrawAgain(presses);
    return Reply(original.Fields, "");
}

void PageExplore::DrawAgain(const PressHistory& presses)
{
    ReplayHost host(stop_);
    document_.DrawAnew(presses, host, PressesChange::WindowMoved);
}
