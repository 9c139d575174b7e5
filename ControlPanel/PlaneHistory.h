// SPDX-License-Identifier: GPL-3.0-or-later
// The presses drawn on a plot window since its plane was last wiped, kept
// with the window: a child object, so it goes with the window and a new
// window starts without one. "Vymaž" clears it; every "Kresli" that got
// past reading its inputs adds to it, however it ended.
//
// Beside the presses it keeps the plane as it stood before the last one, so
// the last press can be drawn again over exactly what it was drawn over.
#pragma once

#include <QObject>

#include <optional>

#include "PlotSurface.h"
#include "PressHistory.h"

class QWidget;

class PlaneHistory : public QObject {
    Q_OBJECT
public:
    // The window's keeper, made on first use.
    static PlaneHistory& Of(QWidget& window);

    const PressHistory& Presses() const { return presses_; }
    // The plane before the last press; none while there is no press.
    const std::optional<PlaneSnapshot>& PlaneBeforeLast() const { return beforeLast_; }

    void Add(RecordedPress press, PlaneSnapshot planeBefore);
    // The last press drawn again in its place, over the same plane before
    // it (a slider moved); with no press yet, as Add.
    void ReplaceLast(RecordedPress press, const PlaneSnapshot& planeBefore);
    // The whole list at once (a lesson opened, a zoom): `planeBeforeLast`
    // is the plane before the list's last press.
    void Replace(PressHistory presses, std::optional<PlaneSnapshot> planeBeforeLast);
    void Clear();

signals:
    void Changed();

private:
    explicit PlaneHistory(QWidget& window);

    PressHistory presses_;
    std::optional<PlaneSnapshot> beforeLast_;
};
