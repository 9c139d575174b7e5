// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneZoom.h"

#include <QApplication>
#include <QLineEdit>

#include <cmath>
#include <cstdlib>

#include "DocumentSignals.h"
#include "PlaneQt.h"
#include "PositionReadout.h"
#include "TracePause.h"
#include "ReadoutText.h"
#include "WindowReplay.h"

namespace {

constexpr int Notch = 120;  // the wheel's delta for one notch

std::array<std::string*, 4> BoundsOf(TracePress& press)
{
    return {&press.Texts.X1, &press.Texts.X2, &press.Texts.Y1, &press.Texts.Y2};
}

}  // namespace

PlaneZoom::PlaneZoom(PlotDocument& document, PanelPress& panel, PositionReadout& readout, QObject* parent)
    : QObject(parent), document_(document), panel_(panel), readout_(readout)
{
    // A "Kresli", a "Vymaž" or a lesson opened starts afresh; only drawing
    // the same presses in another window keeps the way back.
    auto* news = new DocumentSignals(document_, this);
    connect(news, &DocumentSignals::PressesChanged, this, [this](PressesChange change) {
        if (change != PressesChange::WindowMoved)
            ForgetOriginal();
    });
}

bool PlaneZoom::HasPresses() const
{
    return document_.Shown().has_value();
}

WorldWindow PlaneZoom::ShownWorld() const
{
    const ShownWindow shown = document_.Shown().value_or(ShownWindow{});
    return WorldWindow{shown.X1, shown.X2, shown.Y1, shown.Y2};
}

bool PlaneZoom::AnyAxes() const
{
    for (const RecordedPress& press : document_.Presses()) {
        if (press.Press.ShowAxes)
            return true;
    }
    return false;
}

bool PlaneZoom::Works(const WorldWindow& candidate, const WorldWindow& current)
{
    if (scratch_.Plane().Size() != document_.Surface().Plane().Size())
        scratch_.ResizePlane(document_.Surface().Plane().Width(), document_.Surface().Plane().Height());
    if (!MappingWorks(scratch_, candidate))
        return false;
    // Axes that could not be drawn in the window on the plane (a reversed
    // window) are no reason to stop: the zoom makes nothing worse.
    return !AnyAxes() || AxesFit(scratch_, candidate) || !AxesFit(scratch_, current);
}

void PlaneZoom::Wheel(QPoint pixel, int angleDelta)
{
    if (angleDelta == 0 || !HasPresses())
        return;
    const WorldWindow current = ShownWorld();
    WorldPoint at;
    try {
        at = PixelCentre(document_.Shown()->Mapping, FromQPoint(pixel));
    } catch (const FloatFault&) {
        return;  // the plane has no mapping
    }
    // Notch by notch, so a fast turn stops at the last window that works.
    WorldWindow reached = current;
    bool stopped = false;
    for (int remaining = angleDelta; remaining != 0 && !stopped;) {
        const int part = std::abs(remaining) >= Notch ? (remaining > 0 ? Notch : -Notch) : remaining;
        remaining -= part;
        const Extended factor = std::pow(ZoomPerNotch, Extended(part) / Notch);
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
    if (reached != current)
        Apply(reached);
    if (stopped)
        readout_.Note(QString::fromUtf8(angleDelta > 0 ? ZoomInLimitText : ZoomOutLimitText));
}

void PlaneZoom::Press(QPoint pixel)
{
    drag_.reset();
    if (!HasPresses())
        return;
    drag_ = Drag{pixel, ShownWorld(), false};
}

void PlaneZoom::DragTo(QPoint pixel)
{
    if (!drag_)
        return;
    if (!drag_->Moving && (pixel - drag_->From).manhattanLength() < QApplication::startDragDistance())
        return;  // a click, not a drag
    drag_->Moving = true;
    dragTarget_ = pixel;
    // Moves come faster than the plane is drawn: one redraw per turn of the
    // event loop, for where the cursor is by then.
    if (!panQueued_) {
        panQueued_ = true;
        QMetaObject::invokeMethod(this, &PlaneZoom::PanNow, Qt::QueuedConnection);
    }
}

void PlaneZoom::Release(QPoint pixel)
{
    if (drag_ && drag_->Moving) {
        dragTarget_ = pixel;
        PanNow();
    }
    drag_.reset();
}

void PlaneZoom::PanNow()
{
    panQueued_ = false;
    if (!drag_ || TraceRunning())
        return;
    try {
        const PixelSize plane = document_.Surface().Plane().Size();
        const WorldWindow candidate = WrittenWindow(
            PannedWindow(drag_->Start, plane, FromQPoint(drag_->From), FromQPoint(dragTarget_)), plane);
        if (candidate == ShownWorld())
            return;
        if (Works(candidate, drag_->Start)) {
            Apply(candidate);
            return;
        }
    } catch (const FloatFault&) {
        // beyond the double range: as a window that does not work
    }
    readout_.Note(QString::fromUtf8(PanLimitText));
}

void PlaneZoom::Apply(const WorldWindow& window)
{
    PressHistory presses = document_.Presses();
    if (!original_) {
        Original original;
        for (RecordedPress& press : presses) {
            const auto bounds = BoundsOf(press.Press);
            original.PressBounds.push_back({*bounds[0], *bounds[1], *bounds[2], *bounds[3]});
        }
        original.Fields = panel_.WorldTexts();
        original_ = std::move(original);
        emit CanReturnChanged(true);
    }
    // Shortest texts that read back as the very doubles.
    const std::array<std::string, 4> texts{FormulaText(window.X1), FormulaText(window.X2), FormulaText(window.Y1),
                                           FormulaText(window.Y2)};
    for (RecordedPress& press : presses) {
        const auto bounds = BoundsOf(press.Press);
        for (std::size_t i = 0; i < texts.size(); ++i)
            *bounds[i] = texts[i];
    }
    DrawAgain(presses, texts);
}

void PlaneZoom::ReturnToOriginal()
{
    if (!original_)
        return;
    PressHistory presses = document_.Presses();
    const Original original = std::move(*original_);
    ForgetOriginal();
    // Esc may have left fewer presses than there were.
    for (std::size_t i = 0; i < presses.size() && i < original.PressBounds.size(); ++i) {
        const auto bounds = BoundsOf(presses[i].Press);
        for (std::size_t k = 0; k < bounds.size(); ++k)
            *bounds[k] = original.PressBounds[i][k];
    }
    DrawAgain(presses, original.Fields);
}

void PlaneZoom::DrawAgain(const PressHistory& presses, const std::array<std::string, 4>& fields)
{
    panel_.ShowWorldTexts(fields);
    DrawPressesAnew(document_, presses, PressesChange::WindowMoved);
}

void PlaneZoom::ForgetOriginal()
{
    if (!original_)
        return;
    original_.reset();
    emit CanReturnChanged(false);
}
