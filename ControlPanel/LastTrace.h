// SPDX-License-Identifier: GPL-3.0-or-later
// The animation of the last "Kresli" that traced, kept with the plot window
// it was traced on, for "Uložit animaci…". A child object of the window:
// it goes with the window, and a new window starts without one.
#pragma once

#include <QObject>

#include <memory>

#include "TraceRecorder.h"

class QWidget;

class LastTrace : public QObject {
    Q_OBJECT
public:
    // The window's keeper, made on first use.
    static LastTrace& Of(QWidget& window);

    // Null until a trace has run on the window.
    std::shared_ptr<const PlaneAnimation> Animation() const { return animation_; }
    void Keep(PlaneAnimation animation);

signals:
    void Kept();

private:
    explicit LastTrace(QWidget& window);

    std::shared_ptr<const PlaneAnimation> animation_;
};
