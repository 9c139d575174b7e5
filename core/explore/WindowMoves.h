// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom and pan on the document's plane, for the desktop's mouse and the
// page's alike: the window a wheel's turn or a drag reaches, each candidate
// tried on a scratch surface first, so that the plane only ever moves to a
// window it can be drawn in. Drawing the presses in the window is the
// caller's.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "PixelGeometry.h"
#include "PlotSurface.h"
#include "PressHistory.h"
#include "WorldWindow.h"

class PlotDocument;

// What the plane says where a zoom or a pan can go no further.
inline constexpr char ZoomInLimitText[] = "Dál přiblížit nelze";
inline constexpr char ZoomOutLimitText[] = "Dál oddálit nelze";
inline constexpr char PanLimitText[] = "Dál posunout nelze";

// A mouse wheel's turn of one notch, as the toolkit and the browser count
// it, and the zoom of one notch.
inline constexpr int WheelNotch = 120;
inline constexpr long double ZoomPerNotch = 1.25L;

struct WindowMove {
    // The window to draw the presses in; none leaves the plane as it is.
    std::optional<WorldWindow> To;
    // The move stopped at a window that would not work: the caller says the
    // limit's text (for a zoom, after moving as far as it could).
    bool Limited = false;
};

class WindowMoves {
public:
    explicit WindowMoves(const PlotDocument& document);

    // The window the plane shows now (the last press's, as drawn); an empty
    // one before any press, when nothing moves.
    WorldWindow Shown() const;

    // The wheel turned by `angleDelta` (WheelNotch a notch, positive
    // towards zooming in) with the mouse over `pixel`: notch by notch, so a
    // fast turn stops at the last window that works.
    WindowMove Zoom(PixelPoint pixel, long angleDelta);

    // A drag from pixel `from` to `to` that began with the plane in `start`.
    WindowMove Pan(const WorldWindow& start, PixelPoint from, PixelPoint to);

private:
    bool AnyAxes() const;
    bool Works(const WorldWindow& candidate, const WorldWindow& current);

    const PlotDocument& document_;
    PlotSurface scratch_;
};

// The four world bounds of a press as its fields hold them: x1, x2, y1, y2.
using BoundTexts = std::array<std::string, 4>;

// The window's bounds as the shortest texts that read back as its doubles.
BoundTexts WindowTexts(const WorldWindow& window);

// Each press's bounds, to go back to after zooms and pans.
std::vector<BoundTexts> BoundsOfPresses(const PressHistory& presses);

// Gives each press the bounds; where there are fewer bounds than presses
// (presses drawn since), the rest keep theirs.
void SetBoundsOfPresses(PressHistory& presses, const std::vector<BoundTexts>& bounds);

// Gives every press the same bounds.
void SetBoundsOfPresses(PressHistory& presses, const BoundTexts& bounds);
