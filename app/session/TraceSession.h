// SPDX-License-Identifier: GPL-3.0-or-later
// One press of "Kresli" from its start to its end, on the GUI thread.
//
// While it lasts the program shows the busy cursor over all its windows,
// holds user input back (HeldInput; carried out in order afterwards) and lets
// Esc stop the trace. The engine's long-work hook keeps the windows painted
// and answering the window manager during an evaluation that takes seconds,
// and the pause between two steps keeps the tempo.
#pragma once

#include <QWidget>

#include <atomic>
#include <chrono>
#include <vector>

#include "HeldInput.h"
#include "LongWork.h"

// When the busy cursor shows: at once (a trace, which takes seconds), or
// only once the work has lasted a moment (drawing again at once, which a
// slider does many times a second: the cursor must not flicker).
enum class BusyCursor { AtOnce, AfterAMoment };

class TraceSession {
public:
    explicit TraceSession(std::vector<QWidget*> windows, BusyCursor busy = BusyCursor::AtOnce);
    ~TraceSession();
    TraceSession(const TraceSession&) = delete;
    TraceSession& operator=(const TraceSession&) = delete;

    // True while a session exists: a second press then does nothing.
    static bool Running();

    // The pause after a step's repaint: the event loop runs (input held)
    // until the pause ends `length` after the previous one ended, to well
    // under a millisecond; the first pause, or one after a slow step, ends
    // `length` after it began.
    void Wait(std::chrono::milliseconds length);

    // Throws EvaluationCancelled once Esc was pressed.
    void ThrowIfStopped() const;

    // For work without pauses (drawing presses again at once): lets the
    // event loop repaint and answer the window manager, at most every few
    // milliseconds, input still held.
    void KeepAlive();

    // Before a box that needs the user: the normal cursor, and input is no
    // longer held (what was held waits until the session ends).
    void End();

private:
    static void Breathe(void* session);
    void ShowBusyCursor();

    std::atomic<bool> stop_{false};
    HeldInput held_;
    LongWorkHook hook_;
    LongWorkScope scope_;
    bool busyCursor_ = false;
    bool ended_ = false;
    std::chrono::steady_clock::time_point lastBreath_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point tempoEnd_;  // where the tempo ended the last pause
    bool paused_ = false;
};

// The windows a session holds a close request for: the program's own (the
// panel, the plot window, the variables window), whichever exist.
std::vector<QWidget*> ProgramWindows();
