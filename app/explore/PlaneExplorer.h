// SPDX-License-Identifier: GPL-3.0-or-later
// Exploring the plane in the plot window: the position readout, zoom and pan
// by the mouse, and the keys that step the pen. Their menu entries
// ("Ukazovat polohu" F2, "Kopírovat polohu" Ctrl+C, "Kopírovat polohu
// přesně" Ctrl+Shift+C, "Původní zorné pole" Ctrl+0) are in PlotMenu.h.
//
//   Left, Right, Home, End         the pen to the previous, next, first, last point
//   Page Up, Page Down             ten points back, ten on
//   the wheel, a left-button drag  zoom about the cursor, pan
#pragma once

#include "PanelPress.h"
#include "PlotDocument.h"

class PlaneZoom;
class PositionReadout;
class TDraw2D;

struct PlaneExplorer {
    PositionReadout* Readout = nullptr;
    PlaneZoom* Zoom = nullptr;
};

// Adds the readout, zoom and pan to the window; the readout on as the user
// left it.
PlaneExplorer InstallPlaneExplorer(TDraw2D& window, PlotDocument& document, PanelPress& panel);

// Whether the readout was on when the user last chose; off at first.
bool ReadoutRemembered();
void RememberReadout(bool on);

// Where the choice of "Ukazovat polohu" is kept.
inline constexpr char ShowPositionSetting[] = "readout/showPosition";
