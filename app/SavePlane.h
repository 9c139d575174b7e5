// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window's context menu: "Uložit obrázek…" (Ctrl+S) writes the
// plane as PNG (its bitmap), SVG or PDF (its record, as vector graphics);
// "Uložit animaci…" (Ctrl+Shift+A) writes the animation of the last "Kresli"
// as GIF and is disabled until a trace has run; "Tisk…" (Ctrl+P) prints the
// plane's record through the print dialog. The menu shows the shortcuts and
// opens from the keyboard too (the Menu key, Shift+F10). The dialogs are
// seams (PlaneDialogs.h).
#pragma once

class QAction;
class TDraw2D;

struct PlaneActions {
    QAction* SavePicture = nullptr;
    QAction* SaveAnimation = nullptr;
    QAction* Print = nullptr;
};

// Adds the three actions to the window's context menu, with their shortcuts,
// and Shift+F10 to open it.
PlaneActions InstallSavePlane(TDraw2D& window);

// The actions' work. Each does nothing while a trace runs; the plane is only
// read. A file that cannot be written, or a print that fails, is reported in
// the error box.
void SavePlane(TDraw2D& window);      // asks for the file; the format by its type
void SaveAnimation(TDraw2D& window);  // asks for the file; nothing before a trace
void PrintWindowPlane(TDraw2D& window);  // asks the print dialog, prints one page

inline constexpr char SavePlaneActionName[] = "SavePlaneAction";
inline constexpr char SaveAnimationActionName[] = "SaveAnimationAction";
inline constexpr char PrintPlaneActionName[] = "PrintPlaneAction";
