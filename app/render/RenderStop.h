// SPDX-License-Identifier: GPL-3.0-or-later
// Stopping a render from outside: --timeout, Ctrl+C (SIGINT) and SIGTERM.
// Both end the trace where it is, through the engine's long-work hook, so a
// long power inside one evaluation stops too; the picture drawn so far is
// still written.
#pragma once

#include <QString>

#include <atomic>
#include <chrono>

#include "LongWork.h"

// The first SIGINT or SIGTERM asks the render to stop; a second one ends the
// process at once, as if nothing was installed. A wait in a system call (for
// a FIFO's reader) is interrupted by the first one.
void InstallStopSignals();

// Set once a stop signal came or the time was up; writers pass it on
// (OutputFileOptions::Cancel) so that a wait for a reader ends too.
const std::atomic<bool>& StopFlag();

// For its lifetime the engine's long work, and the trace between its steps
// (Poll), end with EvaluationCancelled once a stop signal came or the time is
// up. Without a time limit only the signals count.
class RenderStop {
public:
    explicit RenderStop(double timeoutSeconds);
    RenderStop(const RenderStop&) = delete;
    RenderStop& operator=(const RenderStop&) = delete;

    // Throws EvaluationCancelled when the render is to stop.
    void Poll();

    // Why it stopped, for standard error.
    QString Reason() const;

private:
    static void CheckClock(void* context);

    double timeoutSeconds_;
    std::chrono::steady_clock::time_point deadline_;
    bool timedOut_ = false;
    LongWorkHook hook_;
    LongWorkScope scope_;
};
