// SPDX-License-Identifier: GPL-3.0-or-later
// User input that waits while a trace runs.
//
// A trace runs inside the click handler, yet the event loop must keep turning
// meanwhile (repaints, the window manager's liveness pings, Esc). So instead of
// leaving input out of the nested loops, an application-wide event filter takes
// every user-input event on its way to any window or widget and keeps it; once
// the handler has returned, the kept input is handed to its receivers in the
// order it came. Esc is the one key acted on at once: it asks the trace to stop.
// A key's auto-repeats are dropped: a key held down counts once.
//
// The filter sits at the first receiver an event reaches: under a window
// system that is the top-level window, which later routes the replayed event
// to the widget under the pointer or with the focus as it stands then, so a
// click that moves the focus directs the keys typed after it. Mouse and wheel
// events are kept as their values and rebuilt when replayed (their points are
// shared with the pointing device's live state); the rest are cloned.
// Keyboard shortcuts are kept as the shortcut events the toolkit resolved.
// Touch and tablet events pass: the widgets here use the mouse events the
// toolkit makes of them, and those are kept.
//
// A request to close one of the given windows is kept too and carried out in
// its place among the input.
#pragma once

#include <QObject>
#include <QPointer>

#include <atomic>
#include <vector>

class QWidget;

class HeldInput : public QObject {
public:
    // Holds input from now on; Esc sets `stop`.
    HeldInput(std::vector<QWidget*> windows, std::atomic<bool>& stop);
    // Stops holding; the held input is carried out from the event loop, once
    // no modal box is open.
    ~HeldInput() override;

    // Stops holding at once, for a box that needs the user's input; what was
    // held still waits for the destructor.
    void Release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsHeldWindow(QObject* object) const;

    std::vector<QPointer<QWidget>> windows_;
    std::atomic<bool>& stop_;
    bool holding_ = false;
};

// Input held and not yet carried out (for tests).
std::size_t HeldInputCount();
