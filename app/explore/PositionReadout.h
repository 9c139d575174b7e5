// SPDX-License-Identifier: GPL-3.0-or-later
// The position readout of a plot window: the pen's point of the last press
// with its t, x and y, the keys that step it along the press's points, and
// the world point under the mouse. Turned on and off as one ("Ukazovat
// polohu"); off, nothing of it is drawn, yet a screen reader can still read
// both texts.
//
// The pen follows the trace (the document's pen track) and stays at the last
// point drawn; after a zoom or a pan it keeps the point it was on, also when
// that point is now off the plane. A coordinate below a hundredth of a pixel
// of the window the plane shows reads 0.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <optional>

#include "PlotDocument.h"
#include "ReadoutText.h"

class ReadoutLabel;
class TDraw2D;

class PositionReadout : public QObject {
    Q_OBJECT
public:
    PositionReadout(TDraw2D& window, PlotDocument& document);

    bool On() const { return on_; }
    void SetOn(bool on);

    enum class Step { Previous, Next, First, Last, TenBack, TenOn };
    // Moves the pen among the points the press reached, never past them;
    // turns the readout on.
    void StepPen(Step step);
    // The point the pen stands on; none before a press has drawn a point.
    std::optional<std::size_t> PenIndex() const { return penIndex_; }

    // The pen's point as its readout shows it, tab between the values
    // ("Kopírovat polohu"), and "t;x;y" in full ("Kopírovat polohu přesně");
    // empty when there is none.
    QString CopyShownText() const;
    QString CopyExactText() const;

    // The pixel under the mouse; none when it has left the plane.
    void MouseAt(std::optional<QPoint> pixel);
    // A line under the mouse's readout for a few seconds ("Dál přiblížit nelze").
    void Note(const QString& note);

    ReadoutLabel& PenLabel() { return *pen_; }
    ReadoutLabel& MouseLabel() { return *mouse_; }

signals:
    void OnChanged(bool on);

private:
    void TrackChanged();
    void PressesChanged(PressesChange change);
    void ShowPen();
    void ShowMouse();
    void FitToPlane();
    const PenPoint* PenAt() const;
    ReadoutZero Zero() const;

    TDraw2D& window_;
    PlotDocument& document_;
    ReadoutLabel* pen_ = nullptr;
    ReadoutLabel* mouse_ = nullptr;
    bool on_ = false;
    std::optional<std::size_t> penIndex_;
    std::optional<QPoint> mousePixel_;
    QString note_;
    QTimer noteTimer_;
};
