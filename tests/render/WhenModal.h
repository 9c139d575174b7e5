// SPDX-License-Identifier: GPL-3.0-or-later
// Answering the modal dialogs that the code under test opens itself.
#pragma once

#include <QApplication>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

// Runs `handle` on the modal widget of type T once it is up and `ready`
// holds for it, for the modal loops of dialogs the code under test opens
// itself. After 5 s it gives up and closes the widget, so a test fails
// instead of hanging. The timer goes with `owner`.
template <typename T>
inline void WhenModal(QObject* owner, std::function<bool(T*)> ready, std::function<void(T*)> handle)
{
    auto* timer = new QTimer(owner);
    timer->setInterval(10);
    auto ticks = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, handle, ticks] {
        auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool givingUp = ++*ticks > 500;
        if (widget && widget->isVisible() && !givingUp && !ready(widget))
            return;
        if (!widget && !givingUp)
            return;
        timer->stop();
        timer->deleteLater();
        if (givingUp) {
            if (widget)
                widget->close();
            return;
        }
        handle(widget);
    });
    timer->start();
}
