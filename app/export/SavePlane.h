// SPDX-License-Identifier: GPL-3.0-or-later
// What the picture entries of the plot window's menu do (the menu itself is
// PlotMenu.h): "Uložit obrázek…" writes the plane as PNG (its bitmap), SVG or
// PDF (its record, as vector graphics); "Uložit animaci…" writes the
// animation of the last "Kresli" or "Animovat" as GIF; "Tisk…" shows the
// page in the print preview, from which the print dialog prints it: the
// plane's record with the captions of the presses since "Vymaž" under it
// (PrintPlane.h). The dialogs are seams (PlaneDialogs.h). The plane is only read; a file that cannot be written,
// or a print that fails, is reported in the error box.
#pragma once

#include "PlotDocument.h"

class TDraw2D;

void SavePlane(TDraw2D& window);  // asks for the file; the format by its type
// Asks for the file; nothing before a trace.
void SaveAnimation(TDraw2D& window, const PlotDocument& document);
// Shows the print preview; prints the plane and the presses' captions.
void PrintWindowPlane(TDraw2D& window, const PlotDocument& document);
