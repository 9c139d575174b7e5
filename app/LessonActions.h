// SPDX-License-Identifier: GPL-3.0-or-later
// Lessons from the plot window's context menu and, by the same shortcuts,
// from the control panel: "Otevřít lekci…" (Ctrl+O), "Uložit lekci…"
// (Ctrl+Shift+S) and "Nedávné lekce", the last five opened or saved
// (Ctrl+1 … Ctrl+5). The dialogs are seams (LessonDialogs.h).
#pragma once

#include <QString>

#include <array>

#include "RecentLessons.h"

class QAction;
class QMenu;
class QWidget;
class TDraw2D;

struct LessonActions {
    QAction* Open = nullptr;
    QAction* Save = nullptr;
    QMenu* Recent = nullptr;
    std::array<QAction*, MaxRecentLessons> RecentEntries{};  // hidden beyond the list's end
};

// Adds the actions to the window's context menu, after a separator, and
// to `panel` for their shortcuts (when given).
LessonActions InstallLessonActions(TDraw2D& window, QWidget* panel);

// The actions' work. Each does nothing while a trace runs, and shows what
// went wrong in the error box.

// Reads and checks the whole file first: a file that will not do changes
// nothing. Then the plane is wiped, the presses drawn again at once (Esc
// stops, keeping what was drawn) and the panel filled from the lesson.
// A lesson that no longer exists is taken off the recent list. True when
// the lesson was opened.
bool OpenLesson(TDraw2D& window, const QString& path);

void OpenChosenLesson(TDraw2D& window);  // asks for the file
void SaveLesson(TDraw2D& window);        // asks for the file; the plane's presses and the panel

inline constexpr char OpenLessonActionName[] = "OpenLessonAction";
inline constexpr char SaveLessonActionName[] = "SaveLessonAction";
inline constexpr char RecentLessonsMenuName[] = "RecentLessonsMenu";
