// SPDX-License-Identifier: GPL-3.0-or-later
// The plot window's context menu, built in one place, in this order, every
// entry with its shortcut shown beside it:
//
//   Uložit obrázek…     Ctrl+S        Ukazovat polohu          F2
//   Uložit animaci…     Ctrl+Shift+A  Kopírovat polohu         Ctrl+C
//   Tisk…               Ctrl+P        Kopírovat polohu přesně  Ctrl+Shift+C
//   Otevřít lekci…      Ctrl+O        Původní zorné pole       Ctrl+0
//   Uložit lekci…       Ctrl+Shift+S  Proměnné…                Ctrl+R
//   Nedávné lekce       Ctrl+1 … Ctrl+5
//
// The lesson entries and "Proměnné…" answer their shortcuts in the control
// panel too. The menu opens from the keyboard as well (the Menu key,
// Shift+F10). Every entry does nothing while a trace runs.
#pragma once

#include <QObject>

#include <array>
#include <functional>

#include "PanelPress.h"
#include "PlaneExplorer.h"
#include "PlotDocument.h"
#include "RecentLessons.h"

class QAction;
class QMenu;
class QWidget;
class TDraw2D;

class PlotMenu : public QObject {
    Q_OBJECT
public:
    // `panel` answers the shared shortcuts; `showVariables` opens the
    // variables window.
    PlotMenu(TDraw2D& window, QWidget& panel, PanelPress& press, PlotDocument& document,
             const PlaneExplorer& explorer, std::function<void()> showVariables);

    // The recent lessons' entries after the list as it is now: one per
    // lesson, the rest hidden (and so their shortcuts off).
    void ShowRecentLessons();

    QAction* SavePicture = nullptr;
    QAction* SaveAnimation = nullptr;
    QAction* Print = nullptr;
    QAction* OpenLesson = nullptr;
    QAction* SaveLesson = nullptr;
    QMenu* Recent = nullptr;
    std::array<QAction*, MaxRecentLessons> RecentEntries{};
    QAction* ShowPosition = nullptr;
    QAction* CopyPosition = nullptr;
    QAction* CopyExactPosition = nullptr;
    QAction* OriginalWindow = nullptr;
    QAction* Variables = nullptr;

private:
    QAction* AddEntry(const QString& text, const char* name, QKeySequence shortcut, std::function<void()> work,
                      bool inPanelToo = false);
    void AddSeparator();
    void AddRecentLessons();
    void AddMenuKeys();

    TDraw2D& window_;
    QWidget& panel_;
    PanelPress& press_;
    PlotDocument& document_;
};

inline constexpr char SavePlaneActionName[] = "SavePlaneAction";
inline constexpr char SaveAnimationActionName[] = "SaveAnimationAction";
inline constexpr char PrintPlaneActionName[] = "PrintPlaneAction";
inline constexpr char OpenLessonActionName[] = "OpenLessonAction";
inline constexpr char SaveLessonActionName[] = "SaveLessonAction";
inline constexpr char RecentLessonsMenuName[] = "RecentLessonsMenu";
inline constexpr char ShowPositionActionName[] = "ShowPositionAction";
inline constexpr char CopyPositionActionName[] = "CopyPositionAction";
inline constexpr char CopyExactPositionActionName[] = "CopyExactPositionAction";
inline constexpr char OriginalWindowActionName[] = "OriginalWindowAction";
inline constexpr char VariablesActionName[] = "VariablesAction";
