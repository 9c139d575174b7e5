// SPDX-License-Identifier: GPL-3.0-or-later
// The animation of the last "Kresli" that traced, or of the last run of
// "Animovat", kept with the plot window it was drawn on for "Uložit
// animaci…": as the GIF it was encoded into while it was drawn, so what is
// kept is the file's size, not its frames'. A child object of the window: it
// goes with the window, and a new window starts without one.
#pragma once

#include <QObject>

#include <memory>

#include "GifStream.h"

class QWidget;

class LastTrace : public QObject {
    Q_OBJECT
public:
    // The window's keeper, made on first use.
    static LastTrace& Of(QWidget& window);

    // Null until a trace has run on the window.
    std::shared_ptr<const EncodedGif> Animation() const { return animation_; }
    void Keep(EncodedGif animation);

signals:
    void Kept();

private:
    explicit LastTrace(QWidget& window);

    std::shared_ptr<const EncodedGif> animation_;
};
