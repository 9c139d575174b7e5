// SPDX-License-Identifier: GPL-3.0-or-later
// Esc on the page, as the core hears it. The page raises a flag in memory
// it shares with the worker (web/PROTOCOL.md, "The tempo and Esc"); the
// worker asks it when the core asks (`asked`). The core asks inside one long
// evaluation, through the engine's long-work hook, and between the points of
// presses drawn again (a lesson, a zoom, a slider), through ReplayHost.
#pragma once

#include <atomic>
#include <functional>

#include "LongWork.h"
#include "PressRun.h"

class PageStop {
public:
    explicit PageStop(std::function<bool()> asked);
    PageStop(const PageStop&) = delete;
    PageStop& operator=(const PageStop&) = delete;

    // Whether a stop is asked now (and from then on for this request).
    bool Asked();
    // EvaluationCancelled when a stop is asked.
    void ThrowIfAsked();

    // The hook installed, the flag down, for the length of one call into
    // the core.
    class Scope {
    public:
        explicit Scope(PageStop& stop);

    private:
        LongWorkScope hook_;
    };

private:
    static void Poll(void* context);
    // The hook, with no stop asked yet.
    const LongWorkHook& FreshHook();

    std::function<bool()> asked_;
    std::atomic<bool> stopped_{false};
    LongWorkHook hook_;
};

// Presses drawn again at once: no repaint and no pause, but every few points
// a look at the stop.
class ReplayHost : public TraceHost {
public:
    explicit ReplayHost(PageStop& stop) : stop_(stop) {}
    bool Dashed() override { return false; }  // not asked: the press's own is used
    void Repaint() override {}
    void Pause() override;

private:
    PageStop& stop_;
    unsigned pauses_ = 0;
};
