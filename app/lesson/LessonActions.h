// SPDX-License-Identifier: GPL-3.0-or-later
// What the lesson entries of the plot window's menu do ("Otevřít lekci…",
// "Uložit lekci…", "Nedávné lekce"); the menu itself is PlotMenu.h. The
// dialogs are seams (LessonDialogs.h). What goes wrong is shown in the error
// box.
#pragma once

#include <QString>

#include "PanelPress.h"
#include "PlotDocument.h"

class QWidget;

// Reads and checks the whole file first: a file that will not do changes
// nothing. Then the plane is wiped, the presses drawn again at once (Esc
// stops, keeping what was drawn) and the panel filled from the lesson. A
// lesson that no longer exists is taken off the recent list. True when the
// lesson was opened.
bool OpenLesson(PlotDocument& document, PanelPress& panel, const QString& path);

void OpenChosenLesson(PlotDocument& document, PanelPress& panel, QWidget* parent);  // asks for the file
// Asks for the file; the document's presses and the panel. True when the
// lesson was written.
bool SaveLesson(PlotDocument& document, PanelPress& panel, QWidget* parent);

// Before the program ends: with presses not saved (PlotDocument::Unsaved),
// asks "Uložit lekci?" and saves, or not. True when the program may end:
// nothing to lose, the lesson saved, or thrown away by choice.
bool OfferToSaveLesson(PlotDocument& document, PanelPress& panel, QWidget* parent);
