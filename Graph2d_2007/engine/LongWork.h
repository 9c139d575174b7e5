// SPDX-License-Identifier: GPL-3.0-or-later
// Long computations inside the engine (an integer power near 1 to a huge
// exponent can run for seconds) poll this hook, so the program around the
// engine can keep its windows alive and stop the work, without the engine
// knowing anything of windows or clocks.
//
// The hook is one per thread and is installed for a scope with
// LongWorkScope. PollLongWork calls the progress function (if any) and then
// throws EvaluationCancelled when the cancel flag is set. Outside a scope it
// does nothing. Computations call it every LongWorkPollInterval units of work
// (one rounded product counts as one unit), so it costs nothing measurable.
#pragma once

#include <atomic>
#include <cstdint>
#include <exception>

// Thrown by PollLongWork when the work is to stop. Not a floating-point fault
// and not a formula error: whoever cancelled knows why, and shows nothing or
// its own message.
class EvaluationCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "Výpočet byl přerušen"; }
};

struct LongWorkHook {
    // Set (from anywhere, also a signal handler or another thread) to stop.
    const std::atomic<bool>* Cancel = nullptr;
    // Called at every poll; may run the event loop, look at a clock, or set
    // the cancel flag itself. Must not throw anything but EvaluationCancelled.
    void (*Progress)(void* context) = nullptr;
    void* Context = nullptr;
};

// Roughly a few milliseconds of rounded products between two polls.
inline constexpr std::uint32_t LongWorkPollInterval = 1u << 20;

// Installs `hook` for the lifetime of the scope; the previous hook comes back
// when it ends. Scopes nest.
class LongWorkScope {
public:
    explicit LongWorkScope(const LongWorkHook& hook);
    ~LongWorkScope();
    LongWorkScope(const LongWorkScope&) = delete;
    LongWorkScope& operator=(const LongWorkScope&) = delete;

private:
    const LongWorkHook* previous_;
};

// Progress, then the cancel test. Call between units of work only, where
// stopping leaves nothing half done.
void PollLongWork();

// True when the current hook's cancel flag is set; no progress call.
bool LongWorkCancelled() noexcept;
