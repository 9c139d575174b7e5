// SPDX-License-Identifier: GPL-3.0-or-later
#include "TraceSession.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <thread>

#include "TracePause.h"

namespace {

using Clock = std::chrono::steady_clock;

bool SessionRunning = false;

TracePause PauseSeam;

// A long evaluation hands the event loop its pending events at most this
// often: enough to repaint and answer pings, while the evaluation keeps
// nearly all of the time.
constexpr auto BreathInterval = std::chrono::milliseconds(15);

// The event loop's timers wake up to a millisecond late, which over a
// hundred steps would add up to a lag the eye sees; the last stretch of each
// pause is slept to the microsecond instead (no events are handled then).
constexpr auto PreciseEnd = std::chrono::milliseconds(2);

// Work shorter than this shows no busy cursor where it may wait.
constexpr auto BusyCursorDelay = std::chrono::milliseconds(150);

// The most a pause is shortened to keep the tempo: each pause lasts at least
// its length less this after the step's repaint.
constexpr auto MaxCatchUp = std::chrono::milliseconds(2);

}  // namespace

TraceSession::TraceSession(std::vector<QWidget*> windows, BusyCursor busy)
    : held_(std::move(windows), stop_),
      hook_{.Cancel = &stop_, .Progress = &TraceSession::Breathe, .Context = this},
      scope_(hook_),
      lastBreath_(Clock::now()),
      started_(Clock::now())
{
    SessionRunning = true;
    if (busy == BusyCursor::AtOnce)
        ShowBusyCursor();
}

void TraceSession::ShowBusyCursor()
{
    if (busyCursor_ || ended_)
        return;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    busyCursor_ = true;
}

TraceSession::~TraceSession()
{
    End();
    SessionRunning = false;
}

bool TraceSession::Running()
{
    return SessionRunning;
}

void TraceSession::Wait(std::chrono::milliseconds length)
{
    // The tempo: pause k ends k lengths after the first pause ended, so the
    // little a step takes besides its pause (evaluating, drawing, the
    // repaint, waking up late on a busy machine) does not add up over the
    // steps. A pause is shortened by at most MaxCatchUp, so a late step is
    // made up for over the next few; a trace further behind than one length
    // (an evaluation of seconds) starts the tempo afresh.
    const Clock::time_point now = Clock::now();
    Clock::time_point deadline = now + length;
    const Clock::time_point onTempo = tempoEnd_ + length;
    if (paused_ && onTempo >= now) {
        deadline = std::max(onTempo, deadline - MaxCatchUp);
        tempoEnd_ = onTempo;
    } else {
        tempoEnd_ = deadline;
    }
    paused_ = true;

    const auto loopLength = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - PreciseEnd - now);
    if (loopLength.count() > 0) {
        QEventLoop loop;
        QTimer::singleShot(loopLength, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
    }
    std::this_thread::sleep_until(deadline);
    lastBreath_ = Clock::now();
}

void TraceSession::ThrowIfStopped() const
{
    if (stop_.load(std::memory_order_relaxed))
        throw EvaluationCancelled();
}

void TraceSession::KeepAlive()
{
    Breathe(this);
}

void TraceSession::End()
{
    ended_ = true;
    held_.Release();
    if (busyCursor_) {
        busyCursor_ = false;
        QGuiApplication::restoreOverrideCursor();
    }
}

void TraceSession::Breathe(void* context)
{
    // Called by the engine between two units of work. Nothing that runs in
    // here throws: input is held, and every handler goes through RunHandler.
    auto& session = *static_cast<TraceSession*>(context);
    const Clock::time_point now = Clock::now();
    if (now - session.started_ >= BusyCursorDelay)
        session.ShowBusyCursor();
    if (now - session.lastBreath_ < BreathInterval)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    session.lastBreath_ = Clock::now();
}

std::vector<QWidget*> ProgramWindows()
{
    // The program's own windows, not its boxes, menus or tool tips.
    std::vector<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->windowType() == Qt::Window && !widget->isModal())
            windows.push_back(widget);
    }
    return windows;
}

void SetTracePause(TracePause pause)
{
    PauseSeam = std::move(pause);
}

void PauseAsATrace(TraceSession& session)
{
    if (PauseSeam)
        PauseSeam();
    else
        session.Wait(std::chrono::milliseconds(TracePauseMilliseconds));
}

bool TraceRunning()
{
    return TraceSession::Running();
}
