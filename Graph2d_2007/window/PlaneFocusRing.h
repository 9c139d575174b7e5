// SPDX-License-Identifier: GPL-3.0-or-later
// The ring that shows the plane has the keyboard focus: a line of the
// highlight colour around the part of the plane on screen, drawn only where
// no plane pixel is (the panel's top and left bevel, the window's margin
// right of and below the panel), so the plane itself stays exactly as drawn.
#pragma once

#include <QObject>

class QFrame;
class QWidget;

class PlaneFocusRing : public QObject {
public:
    // `window` holds `panel`, which holds `plane`; all outlive the ring.
    PlaneFocusRing(QWidget& window, QFrame& panel, QWidget& plane);

    bool Shown() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowBevel(bool focused);

    QWidget& window_;
    QFrame& panel_;
    QWidget& plane_;
};
