// SPDX-License-Identifier: GPL-3.0-or-later
// Exploring the plane in the plot window: the position readout and zoom and
// pan, with their entries in the window's context menu and their keys.
//
//   "Ukazovat polohu" (F2)         the readout on or off, remembered per user
//   "Kopírovat polohu" (Ctrl+C)    the pen's point as "t;x;y"
//   "Původní zorné pole" (Ctrl+0)  back to the window before the first zoom
//                                  or pan since the last "Kresli"
//   Left, Right, Home, End         the pen to the previous, next, first, last point
//   Page Up, Page Down             ten points back, ten on
//   the wheel, a left-button drag  zoom about the cursor, pan
#pragma once

class QAction;
class PlaneZoom;
class PositionReadout;
class TDraw2D;

struct PlaneExplorer {
    PositionReadout* Readout = nullptr;
    PlaneZoom* Zoom = nullptr;
    QAction* ShowPosition = nullptr;
    QAction* CopyPosition = nullptr;
    QAction* OriginalWindow = nullptr;
};

// Adds the readout, zoom and pan to the window and its menu.
PlaneExplorer InstallPlaneExplorer(TDraw2D& window);

inline constexpr char ShowPositionActionName[] = "ShowPositionAction";
inline constexpr char CopyPositionActionName[] = "CopyPositionAction";
inline constexpr char OriginalWindowActionName[] = "OriginalWindowAction";

// Where the choice of "Ukazovat polohu" is kept.
inline constexpr char ShowPositionSetting[] = "readout/showPosition";
