// SPDX-License-Identifier: GPL-3.0-or-later
// The pause between two steps of a trace started by "Kresli", and whether one
// is running. A seam, so tests can trace through the real panel without
// waiting.
#pragma once

#include <functional>

inline constexpr int TracePauseMilliseconds = 50;

using TracePause = std::function<void()>;

// Empty restores the real pause: 50 ms in the trace's tempo, during which the
// windows keep being repainted and answer the desktop while user input is
// held back. Esc pressed during either pause stops the trace after it.
void SetTracePause(TracePause pause);

class TraceSession;

// The pause after a step of a trace, or a frame of "Animovat": the seam when
// one is set, else 50 ms in the session's tempo.
void PauseAsATrace(TraceSession& session);

// True while "Kresli" is tracing. A click on "Kresli" meanwhile waits with the
// rest of the input and traces afterwards; a direct call does nothing.
bool TraceRunning();
