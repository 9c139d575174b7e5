// SPDX-License-Identifier: GPL-3.0-or-later
#include "RenderStop.h"

#include <atomic>
#include <csignal>

namespace {

// Set by the signal handler, read by the engine's polls.
std::atomic<bool> StopRequested{false};
volatile std::sig_atomic_t StopSignal = 0;

static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

extern "C" void OnStopSignal(int signal)
{
    StopSignal = signal;
    StopRequested.store(true, std::memory_order_relaxed);
}

}  // namespace

void InstallStopSignals()
{
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for a FIFO's reader ends with EINTR, and the
    // writer gives up (the trace itself makes no waiting calls). The handler
    // goes after its first call, so a second signal ends the process.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed terminal: the picture drawn so far is saved rather than a
    // temporary file left behind.
    sigaction(SIGHUP, &action, nullptr);
}

const std::atomic<bool>& StopFlag()
{
    return StopRequested;
}

RenderStop::RenderStop(double timeoutSeconds)
    : timeoutSeconds_(timeoutSeconds),
      deadline_(std::chrono::steady_clock::now()
                + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                    std::chrono::duration<double>(timeoutSeconds))),
      hook_{.Cancel = &StopRequested, .Progress = &RenderStop::CheckClock, .Context = this},
      scope_(hook_)
{
}

void RenderStop::CheckClock(void* context)
{
    auto* stop = static_cast<RenderStop*>(context);
    if (stop->timeoutSeconds_ > 0.0 && !stop->timedOut_ && std::chrono::steady_clock::now() >= stop->deadline_) {
        stop->timedOut_ = true;
        StopRequested.store(true, std::memory_order_relaxed);
    }
}

void RenderStop::Poll()
{
    PollLongWork();
}

QString RenderStop::Reason() const
{
    if (timedOut_)
        return QStringLiteral("Kreslení bylo ukončeno, uplynul čas --timeout; uloží se obrázek, jak byl nakreslen.");
    if (StopSignal == SIGTERM || StopSignal == SIGHUP)
        return QStringLiteral("Kreslení bylo ukončeno signálem %1; uloží se obrázek, jak byl nakreslen.")
            .arg(StopSignal == SIGTERM ? u"SIGTERM" : u"SIGHUP");
    return QStringLiteral("Kreslení bylo přerušeno (Ctrl+C); uloží se obrázek, jak byl nakreslen.");
}
