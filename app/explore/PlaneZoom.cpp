// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlaneZoom.h"

#include <QApplication>
#include <QLineEdit>

#include <cmath>
#include <cstdlib>

#include "ControlPanel.h"
#include "Draw2D.h"
#include "ParamCurve.h"
#include "PlaneHistory.h"
#include "PositionReadout.h"
#include "ReadoutText.h"
#include "WindowReplay.h"

namespace {

constexpr int Notch = 120;  // the wheel's delta for one notch

constexpr std::array<InputField, 4> BoundFields{InputField::X1, InputField::X2, InputField::Y1, InputField::Y2};

std::array<std::string*, 4> BoundsOf(TracePress& press)
{
    return {&press.Texts.X1, &press.Texts.X2, &press.Texts.Y1, &press.Texts.Y2};
}

std::array<QString, 4> FieldTexts()
{
    std::array<QString, 4> texts;
    if (Control_Panel) {
        for (std::size_t i = 0; i < BoundFields.size(); ++i)
            texts[i] = Control_Panel->FieldEdit(BoundFields[i])->text();
    }
    return texts;
}

}  // namespace

PlaneZoom::PlaneZoom(TDraw2D& window, PositionReadout& readout)
    : QObject(&window), window_(window), readout_(readout)
{
    // A "Kresli", a "Vymaž" or a lesson opened starts afresh.
    connect(&PlaneHistory::Of(window), &PlaneHistory::Changed, this, [this] {
        if (!redrawing_)
            ForgetOriginal();
    });
}

bool PlaneZoom::HasPresses() const
{
    return !PlaneHistory::Of(window_).Presses().empty();
}

bool PlaneZoom::AnyAxes() const
{
    for (const RecordedPress& press : PlaneHistory::Of(window_).Presses()) {
        if (press.Press.ShowAxes)
            return true;
    }
    return false;
}

bool PlaneZoom::Works(const WorldWindow& candidate, const WorldWindow& current)
{
    if (scratch_.Plane().size() != window_.Plane().size())
        scratch_.ResizePlane(window_.Plane().width(), window_.Plane().height());
    if (!MappingWorks(scratch_, candidate))
        return false;
    // Axes that could not be drawn in the window on the plane (a reversed
    // window) are no reason to stop: the zoom makes nothing worse.
    return !AnyAxes() || AxesFit(scratch_, candidate) || !AxesFit(scratch_, current);
}

void PlaneZoom::Wheel(QPoint pixel, int angleDelta)
{
    if (angleDelta == 0 || TraceRunning() || !HasPresses())
        return;
    const WorldWindow current = WindowOf(window_);
    WorldPoint at;
    try {
        at = PixelCentre(window_.Mapping(), pixel);
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
            const WorldWindow candidate = ZoomedWindow(reached, at, factor);
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
    if (TraceRunning() || !HasPresses())
        return;
    drag_ = Drag{pixel, WindowOf(window_), false};
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
        const WorldWindow candidate = PannedWindow(drag_->Start, window_.Plane().size(), drag_->From, dragTarget_);
        if (candidate == WindowOf(window_))
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
    PressHistory presses = PlaneHistory::Of(window_).Presses();
    if (!original_) {
        Original original;
        for (RecordedPress& press : presses) {
            const auto bounds = BoundsOf(press.Press);
            original.PressBounds.push_back({*bounds[0], *bounds[1], *bounds[2], *bounds[3]});
        }
        original.Fields = FieldTexts();
        original_ = std::move(original);
        emit CanReturnChanged(true);
    }
    // Shortest texts that read back as the very doubles.
    const std::array<std::string, 4> texts{BoundText(window.X1), BoundText(window.X2), BoundText(window.Y1),
                                           BoundText(window.Y2)};
    for (RecordedPress& press : presses) {
        const auto bounds = BoundsOf(press.Press);
        for (std::size_t i = 0; i < texts.size(); ++i)
            *bounds[i] = texts[i];
    }
    std::array<QString, 4> fields;
    for (std::size_t i = 0; i < texts.size(); ++i)
        fields[i] = QString::fromStdString(texts[i]);
    DrawAgain(presses, fields);
}

void PlaneZoom::ReturnToOriginal()
{
    if (!original_ || TraceRunning())
        return;
    PressHistory presses = PlaneHistory::Of(window_).Presses();
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

void PlaneZoom::DrawAgain(const PressHistory& presses, const std::array<QString, 4>& fields)
{
    if (Control_Panel) {
        for (std::size_t i = 0; i < BoundFields.size(); ++i)
            Control_Panel->FieldEdit(BoundFields[i])->setText(fields[i]);
    }
    struct Redrawing {
        PlaneZoom& zoom;
        explicit Redrawing(PlaneZoom& z) : zoom(z)
        {
            zoom.redrawing_ = true;
            zoom.readout_.HoldPenPlace(true);
        }
        ~Redrawing()
        {
            zoom.readout_.HoldPenPlace(false);
            zoom.redrawing_ = false;
        }
    } redrawing(*this);
    DrawPressesAnew(window_, presses);
}

void PlaneZoom::ForgetOriginal()
{
    if (!original_)
        return;
    original_.reset();
    emit CanReturnChanged(false);
}
