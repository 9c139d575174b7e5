// SPDX-License-Identifier: GPL-3.0-or-later
// The whole scale factor of each screen. The plane is drawn pixel for pixel,
// so each of its pixels must be shown as a whole k x k block of screen
// pixels; and both windows, which have fixed sizes, must fit the screen.
//
// What the user asks for (the screen's own factor from its density, times
// QT_SCALE_FACTOR and QT_SCREEN_SCALE_FACTORS) is known only to the toolkit,
// and only once an application object has met the screens; and the toolkit
// takes the factors when its application object is made, never later. So
// before the program's own application object exists, a short-lived one is
// made only to read each screen's asked-for factor and its available area,
// and destroyed; then the chosen factors are handed to the toolkit for the
// real one (QT_SCREEN_SCALE_FACTORS, one whole number per screen). The probe
// opens no window, so the user sees nothing of it; it costs one more
// connection to the window system at start.
#pragma once

#include <QList>
#include <QRect>

// The largest whole k, at most `requested` rounded up and at least 1, at
// which every one of `frames` (outer frames as laid out, in logical pixels,
// relative to the screen's top-left corner), scaled by k, fits `available`
// (the screen's available area in its own pixels, relative to the same
// corner). A frame starting outside the area (under a panel) counts from the
// area's edge, where a window manager moves it.
int FittingScaleFactor(double requested, const QRect& available, const QList<QRect>& frames);

// Both windows' outer frames as laid out: the control panel, the plot window.
QList<QRect> LaidOutFrames();

// Before the application object exists: probes the screens (honouring the
// toolkit's options in argv, which are not changed) and sets one fitting
// whole factor for each.
void UseFittingScaleFactors(int argc, char* argv[]);
