// The pause between two steps of a trace started by "Kresli". A seam, so tests
// can trace through the real panel without waiting.
#pragma once

#include <functional>

inline constexpr int TracePauseMilliseconds = 50;

using TracePause = std::function<void()>;

// Empty restores the real pause: 50 ms during which the windows keep being
// repainted and answer the desktop while user input waits in the queue.
void SetTracePause(TracePause pause);

// True while "Kresli" is tracing; a second press then does nothing.
bool TraceRunning();
